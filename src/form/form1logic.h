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

// What happened to a control, as a front end saw it; the front end forwards it and nothing more.
enum class Event {
    Clicked,       // a button was clicked, with the mouse or the keyboard
    Picked,        // an entry of the selector's list was picked
    Edited,        // the user changed the selector's text part
    Pressed,       // the main mouse button went down on the link
    ReleasedIn,    // the main mouse button came up over the link
    ReleasedOut,   // the main mouse button came up away from the link
    DoubleClicked, // the second press of a double-click on the link
    OtherButton,   // another mouse button went down on the link
    CaptureLost,   // the link no longer follows the mouse (another window took it)
    Activated,     // a screen reader asked for the link's default action
};

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
    // The window has been painted on screen. Messages raised before that appear now, once.
    void shown();

    // The one map from a control's event to its handler: Command1 calculates, Command2 reloads,
    // Command3 opens the editor, Combo1 copies an object's K, a click on Label14 opens the page.
    void handle(Control control, Event event);

    // Each returns false when it stopped at an error, which it has reported.
    bool ComputeExposure();
    bool LoadSettings();

    // Opens a document or web address with the desktop's handler; above 32 on success.
    int StartDoc(std::string& DocName);

    // The settings file this copy of the program uses, worked out afresh.
    std::string settingsPath() const;

private:
    void applyLoaded(const settings::LoadResult& content);
    void editSettings();
    void selectorEdited();
    void linkEvent(Event event);
    void copyObjectK(int index);
    void reportError(const std::string& message);

    View& m_view;
    std::string m_programDir;
    std::shared_ptr<platform::Launcher> m_launcher;
    settings::ObjectTable m_objects;
    std::vector<std::string> m_entries; // the selector's list, as added
    std::vector<std::string> m_pending; // raised before the window was first shown
    bool m_shown = false;
    bool m_linkPressed = false; // the main button went down on the link and has not come up
};

} // namespace vellmore::form
