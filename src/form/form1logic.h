#pragma once

#include "form/view.h"
#include "settings/loader.h"
#include "settings/objecttable.h"

#include <memory>
#include <string>
#include <vector>

namespace vellmore::platform {
class Launcher;
}

namespace vellmore::form {

// The window's handlers, whatever toolkit draws it: every event a front end forwards runs to
// completion here and reaches the window only through its View. An error never ends the
// program: what was done before it stays done, and it is reported as a message.
class Form1Logic
{
public:
    Form1Logic(View& view, std::string programDir, std::shared_ptr<platform::Launcher> launcher);

    // Form1's load, before the window is first shown: LoadSettings twice (on a first start the
    // first only writes the default file), then ComputeExposure; an error ends the sequence.
    void load();
    // The window is on screen. Messages raised before its first show appear now, once.
    void shown();

    void calculateClicked();    // Command1
    void reloadClicked();       // Command2: one load, no calculation
    void editSettingsClicked(); // Command3
    void objectPicked();        // Combo1: an entry was picked from the list
    void selectorEdited();      // Combo1: the user edited the text part
    void referenceClicked();    // Label14

    // Each returns false when it stopped at an error, which it has reported.
    bool ComputeExposure();
    bool LoadSettings();

    // Opens a document or web address with the desktop's handler; above 32 on success.
    int StartDoc(std::string& DocName);

    std::string settingsPath() const;
    const settings::ObjectTable& objectTable() const { return m_objects; }

private:
    void applyLoaded(const settings::LoadResult& content);
    void copyObjectK(int index);
    void reportError(const std::string& message);

    View& m_view;
    std::string m_programDir;
    std::shared_ptr<platform::Launcher> m_launcher;
    settings::ObjectTable m_objects;
    std::vector<std::string> m_entries; // the selector's list, as added
    std::vector<std::string> m_pending; // raised before the window was first shown
    bool m_shown = false;
};

} // namespace vellmore::form
