#include "form/layout.h"
#include "recordinglauncher.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellmore::win32 {
namespace {

using form::Control;

// The window on a fresh program folder, its launches and messages recorded; keys and clicks go
// through its message queue and the dialog manager, as a user's do.
class Win32Form1 : public ::testing::Test
{
protected:
    void open(bool show = true)
    {
        m_window = Form1Window::create(GetModuleHandleA(nullptr), m_dir.path(), m_launcher,
                                       [this](HWND owner, const std::string& message) {
                                           EXPECT_EQ(owner, m_window->hwnd());
                                           m_messages.push_back(message);
                                       });
        ASSERT_NE(m_window, nullptr);
        if (show)
            showWindow(SW_SHOWNORMAL);
    }
    void showWindow(int command)
    {
        ShowWindow(m_window->hwnd(), command);
        pump();
    }
    void pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            dispatchMessage(m_window->hwnd(), message);
    }
    HWND control(Control id) const { return m_window->control(id); }
    std::string text(Control id) const { return m_window->text(id); }
    void post(HWND target, const std::vector<std::pair<UINT, WPARAM>>& messages)
    {
        for (const auto& [message, wParam] : messages)
            PostMessageA(target, message, wParam, message == WM_KEYUP ? 0xC0000001 : 1);
        pump();
    }
    void type(HWND target, const std::string& text)
    {
        SetFocus(target);
        SendMessageA(target, EM_SETSEL, 0, -1);
        std::vector<std::pair<UINT, WPARAM>> chars = {{WM_CHAR, VK_BACK}};
        for (const char c : text)
            chars.emplace_back(WM_CHAR, static_cast<unsigned char>(c));
        post(target, chars);
    }
    void click(Control id) { post(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}); }

    testing::TestDir m_dir;
    std::shared_ptr<testing::RecordingLauncher> m_launcher =
        std::make_shared<testing::RecordingLauncher>();
    std::unique_ptr<Form1Window> m_window;
    std::vector<std::string> m_messages;
};

TEST_F(Win32Form1, BuildsTheControlsFromTheLayoutTableAt96Dpi)
{
    // A folder where the settings file belongs stops the start-up load, so the window keeps
    // every design-time text; its message waits for the window's first show, and only that.
    std::filesystem::create_directory(settings::settingsPath(m_dir.path()));
    open(false);
    pump();
    EXPECT_TRUE(m_messages.empty());
    for (const int command : {SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE})
        showWindow(command);
    EXPECT_EQ(m_messages.size(), 1u);

    HWND main = m_window->hwnd();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(351L, 379L));
    char caption[32] = {};
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, "Vellmore");
    const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_MINIMIZEBOX);
    const LONG_PTR alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    HDC dc = GetDC(main);
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        HWND hwnd = control(def.id);
        EXPECT_EQ(text(def.id), def.text);
        RECT at{};
        GetWindowRect(hwnd, &at);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&at), 2);
        const form::Rect d = form::toPixels(def.twips, 96);
        EXPECT_EQ((std::vector<LONG>{at.left, at.top, at.right, at.bottom}),
                  (std::vector<LONG>{d.left, d.top, d.right(), d.top + d.height}));

        const LONG_PTR controlStyle = GetWindowLongPtrA(hwnd, GWL_STYLE);
        const bool label = def.kind == form::Kind::Label || def.kind == form::Kind::Link;
        EXPECT_TRUE(!label || (controlStyle & SS_TYPEMASK) == alignments[int(def.align)]);
        EXPECT_TRUE(def.kind != form::Kind::Button || (controlStyle & BS_TYPEMASK) == BS_PUSHBUTTON)
            << "never the default button";
        SendMessageA(main, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(hwnd));
        EXPECT_EQ(GetTextColor(dc) == RGB(0, 0, 255), def.blue);

        LOGFONTA face{};
        GetObjectA(HFONT(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof face, &face);
        EXPECT_EQ(std::string(face.lfFaceName) + (face.lfUnderline ? " underlined " : " ") +
                      std::to_string(face.lfHeight),
                  def.id == Control::Label14 ? "MS Sans Serif underlined -11" : "MS Sans Serif -11")
            << "8.25 pt at 96 DPI";
    }
    ReleaseDC(main, dc);
    SendMessageA(main, WM_SETCURSOR, WPARAM(control(Control::Label14)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))) << "a pointing hand";
}

TEST_F(Win32Form1, TabsInTabOrderAndForwardsEveryEvent)
{
    open();
    // The focus starts on the first control; the dialog manager's Tab walks the tab order round.
    const std::vector<Control> order = form::tabOrder();
    for (size_t i = 0; i <= order.size(); ++i) {
        HWND at = control(order[i % order.size()]);
        EXPECT_TRUE(GetFocus() == at || IsChild(at, GetFocus())) << i; // the selector's text part
        EXPECT_EQ(GetNextDlgTabItem(m_window->hwnd(), at, FALSE),
                  control(order[(i + 1) % order.size()]));
        post(GetFocus(), {{WM_KEYDOWN, VK_TAB}, {WM_KEYUP, VK_TAB}});
    }
    // The selector's text part is an edit control of its own.
    HWND typed = FindWindowExA(control(Control::Combo1), nullptr, "Edit", nullptr);
    EXPECT_EQ(m_window->selectedIndex(), -1) << "a load selects no entry";

    type(control(Control::txtK), "200");
    post(control(Control::txtK), {{WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE}});
    EXPECT_EQ(text(Control::lblExposure), "0.07213 Sec") << "Enter and Esc do nothing";
    EXPECT_TRUE(IsWindowVisible(m_window->hwnd()));
    click(Control::Command1);
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec");

    SetFocus(typed);
    post(typed, {{WM_KEYDOWN, VK_DOWN}, {WM_KEYUP, VK_DOWN}});
    EXPECT_EQ(text(Control::txtK), "20") << "the arrow key picks the first entry";
    type(typed, "FullMoon= (200)");
    EXPECT_EQ(text(Control::txtK), "200") << "typing an entry's text picks it";
    EXPECT_EQ(m_window->selectedIndex(), 2);

    testing::writeFile(settings::settingsPath(m_dir.path()), "FilmISO=400\r\n");
    click(Control::Command2);
    EXPECT_EQ(text(Control::txtISO), "400");
    click(Control::Command3);
    EXPECT_EQ(m_launcher->editorPaths,
              std::vector<std::string>{settings::settingsPath(m_dir.path())});
    click(Control::Label14);
    EXPECT_EQ(m_launcher->documents, std::vector<std::string>{form::referenceAddress});
    EXPECT_TRUE(m_messages.empty());

    SetWindowTextA(control(Control::txtEyepieceFL), "0");
    click(Control::Command1);
    EXPECT_EQ(m_messages, std::vector<std::string>{"Cannot work out the magnification: the "
                                                   "eyepiece focal length is 0."});
}

} // namespace
} // namespace vellmore::win32
