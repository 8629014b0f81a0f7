#pragma once

#include "form/layout.h"
#include "recordinglauncher.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vellmore::behaviour {

// The three windows one behaviour table runs against: the handlers on a recording view, the Qt
// window on Qt's offscreen platform, and the Win32 window under Wine.
enum Front { Recording = 1, Qt = 2, Win32 = 4, AllFronts = 7, Windows = Qt | Win32 };

enum class Key { Tab, Down, Up, Return, Escape };
// On the link: a click; a double-click; a press dragged off before the release; a click of the
// right button; a right click while the main button is held, then released over the link.
enum class Mouse { Click, DoubleClick, DragOff, RightClick, RightDuringClick };

// A window as a user meets it: what they can do to it and what they can read from it.
class Driver
{
public:
    virtual ~Driver() = default;
    virtual Front front() const = 0;

    // Makes the window for a program in `programDir`, shows it and waits for it to be painted.
    virtual void open(const std::string& programDir) = 0;
    // Replaces a field's text (or the selector's text part) by typing, one character at a time.
    virtual void type(form::Control control, const std::string& text) = 0;
    virtual void click(form::Control control) = 0;
    virtual void mouse(form::Control control, Mouse action) = 0;
    // Picks entry `index` of the selector's list with the mouse.
    virtual void pick(int index) = 0;
    virtual void key(form::Control control, Key key) = 0;
    // Opens the selector's list and moves down it with the arrow key, leaving it open.
    virtual void browseList() = 0;

    virtual std::string text(form::Control control) const = 0;
    virtual std::vector<std::string> entries() const = 0;
    virtual int selectedIndex() const = 0;
    virtual std::optional<form::Control> focus() const = 0;

    // Messages shown to the user, in order, and what the desktop was asked to start.
    std::vector<std::string> messages;
    std::shared_ptr<testing::RecordingLauncher> launcher =
        std::make_shared<testing::RecordingLauncher>();
};

// One thing the user does to the window, or one thing that must then hold. A step meant for
// some fronts only says why.
struct Step
{
    enum class Do {
        WriteFile,
        RemoveFile,
        Type,
        Click,
        Mouse,
        Pick,
        Key,
        BrowseList,
        FailLaunches,
        Expect,
        ExpectEntries,
        ExpectSelected,
        ExpectFocus,
        ExpectMessage,
        ExpectFile,
        ExpectEditor,
        ExpectOpened,
    } action;
    form::Control control = form::Control::Combo1;
    std::vector<std::string> texts;
    int number = 0;
    int fronts = AllFronts;
    const char* why = "";

    Step only(int onFronts, const char* reason) const
    {
        Step step = *this;
        step.fronts = onFronts;
        step.why = reason;
        return step;
    }
};

Step writeFile(const std::string& bytes);
Step removeFile();
Step type(form::Control control, const std::string& text);
Step click(form::Control control);
Step mouse(form::Control control, Mouse action);
Step pick(int index);
Step press(form::Control control, Key key);
Step browseList();
Step failLaunches(); // the editor cannot start and the page's handler fails
Step expect(form::Control control, const std::string& text);
Step expectInputs(const std::vector<std::string>& texts);  // the six fields, in reading order
Step expectResults(const std::vector<std::string>& texts); // the five results
Step expectEntries(const std::vector<std::string>& entries);
Step expectSelected(int index);
Step expectFocus(form::Control control);
Step expectMessage(const std::string& text); // the next message shown
Step expectFile(const std::string& bytes);   // the settings file holds exactly these bytes
Step expectEditor(int times);                // started on the settings file, so often in all
Step expectOpened(int times);                // the page opened so often in all

// How a run starts: what stands at the settings file's place, in a program folder of that name.
struct Scenario
{
    const char* name;
    enum class Start { NoFile, File, Folder } start;
    std::string file;
    std::vector<Step> steps;
    std::string folder = "program";
};

const std::vector<Scenario>& scenarios();

// Runs every step meant for the driver's front; a message shown that no step expected fails it.
void run(Driver& driver, const Scenario& scenario);

} // namespace vellmore::behaviour
