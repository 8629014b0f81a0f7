#pragma once

#include "form/form1logic.h"
#include "form/view.h"

#include <windows.h>

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace vellmore::platform {
class Launcher;
}

namespace vellmore::win32 {

// Shows a run-time error to the user; `owner` is the calculator window.
using ErrorReporter = std::function<void(HWND owner, const std::string& message)>;

// The calculator window drawn with Win32 controls: builds the 29 controls from the layout table,
// lays them out at the window's DPI (again whenever it moves to a monitor of another scale), and
// forwards their notifications to the shared handlers. Texts cross to Windows as UTF-16.
class Form1Window final : public form::View
{
public:
    // Creates the window, hidden, and runs its load; nullptr when Windows cannot make it. An
    // empty reporter shows messages in a message box owned by the window.
    static std::unique_ptr<Form1Window> create(HINSTANCE instance, const std::string& programDir,
                                               std::shared_ptr<platform::Launcher> launcher,
                                               ErrorReporter reporter = {});
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND control(form::Control id) const { return m_controls[static_cast<size_t>(id)]; }
    int dpi() const { return m_dpi; }

    // The window's texts and selector, as the handlers see them.
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string& text) override;
    void clearSelector() override;
    void appendEntries(const std::vector<std::string>& entries) override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;
    // A message box waits for the user, so it opens once the reporting handler has ended.
    void showMessage(const std::string& message) override;

private:
    Form1Window(std::string programDir, std::shared_ptr<platform::Launcher> launcher,
                ErrorReporter reporter);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id, int code);
    bool createControls();
    void layout(int dpi);
    void fitClientArea();

    ErrorReporter m_reporter;
    form::Form1Logic m_logic;
    HWND m_hwnd = nullptr;
    std::array<HWND, form::controlCount> m_controls{};
    std::array<HFONT, 3> m_fonts{};                         // by FontRole
    std::array<HFONT, form::controlCount> m_captionFonts{}; // smaller faces for wide captions
    int m_dpi = 96;
    HWND m_focus = nullptr; // the control that had the focus when the window was last active
    bool m_painted = false;
    std::deque<std::string> m_messages; // reported, waiting to be shown
};

// Runs the window's messages, Tab and the arrow keys through the dialog manager, until the
// window is destroyed or the thread is asked to quit; returns the exit code.
int runMessageLoop(HWND window);

// Handles one message the way the message loop does.
void dispatchMessage(HWND window, MSG& message);

} // namespace vellmore::win32
