#pragma once

#include "form/layout.h"
#include "platform/launcher.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vellmore::behaviour {

// The windows one behaviour table runs against: the Qt window on Qt's offscreen platform, the
// Win32 window under Wine, and the web page in headless Chromium.
enum Front { Qt = 1, Win32 = 2, Web = 4, AllFronts = Qt | Win32 | Web };

enum class Key { Tab, Down, Up, Return, Escape };
// On the link: a click; a double-click; a press dragged off before the release; a click of the
// right button; a right click while the main button is held, then released over the link.
enum class Mouse { Click, DoubleClick, DragOff, RightClick, RightDuringClick };

// Records what the window asked the desktop to start instead of starting it.
struct RecordingLauncher : platform::Launcher
{
    bool editSettings(const std::string& path) override { return editors.push_back(path), starts; }
    int openDocument(const std::string& doc) override { return documents.push_back(doc), result; }
    std::vector<std::string> editors;
    std::vector<std::string> documents;
    bool starts = true;
    int result = 42; // above 32: ShellExecute's success
};

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
    virtual void click(form::Control button) = 0;
    virtual void mouse(Mouse action) = 0; // on the link
    // A screen reader asks for the link's default action, through the toolkit's accessibility.
    virtual void readerActivatesLink() = 0;
    // Picks entry `index` of the selector's list; with the keyboard where it needs to.
    virtual void pick(int index) = 0;
    virtual void key(form::Control control, Key key) = 0;
    // Opens the selector's list and moves down it with the arrow key, leaving it open.
    virtual void browseList() = 0;

    virtual std::string text(form::Control control) const = 0;
    virtual std::vector<std::string> entries() const = 0;
    virtual int selectedIndex() const = 0;
    virtual std::optional<form::Control> focus() const = 0;

    std::vector<std::string> messages; // shown to the user, in order
    std::shared_ptr<RecordingLauncher> launcher = std::make_shared<RecordingLauncher>();
};

// Each test program has the driver of its own front.
std::unique_ptr<Driver> makeDriver();

} // namespace vellmore::behaviour
