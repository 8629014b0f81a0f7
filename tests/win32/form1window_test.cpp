#include "form/layout.h"
#include "recordinglauncher.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vellmore::win32 {
namespace {

using form::Control;

// The window as a user meets it: created, shown, every waiting message handled.
class Form1WindowTest : public ::testing::Test
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
            showAgain(SW_SHOWNORMAL);
    }
    void showAgain(int command)
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
    std::string text(Control id) const
    {
        char buffer[256] = {};
        GetWindowTextA(control(id), buffer, sizeof buffer);
        return buffer;
    }
    // Keys and mouse clicks arrive through the message queue, as a user's do.
    void press(HWND target, WPARAM key)
    {
        PostMessageA(target, WM_KEYDOWN, key, 1);
        PostMessageA(target, WM_KEYUP, key, 1 | (3u << 30));
        pump();
    }
    void type(HWND target, const std::string& chars)
    {
        for (const char c : chars)
            PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
        pump();
    }
    void click(Control id)
    {
        PostMessageA(control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(control(id), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        pump();
    }
    HWND selectorEdit() const
    {
        return FindWindowExA(control(Control::Combo1), nullptr, "Edit", nullptr);
    }

    testing::TestDir m_dir;
    std::shared_ptr<testing::RecordingLauncher> m_launcher =
        std::make_shared<testing::RecordingLauncher>();
    std::unique_ptr<Form1Window> m_window;
    std::vector<std::string> m_messages;
};

const char* windowsClass(form::Kind kind)
{
    switch (kind) {
    case form::Kind::TextBox:
        return "Edit";
    case form::Kind::Button:
        return "Button";
    case form::Kind::Selector:
        return "ComboBox";
    case form::Kind::Label:
    case form::Kind::Link:
        break;
    }
    return "Static";
}

TEST_F(Form1WindowTest, BuildsTheControlsFromTheLayoutTableAt96Dpi)
{
    // A folder where the settings file belongs stops the start-up load, so the window keeps
    // every design-time text.
    std::filesystem::create_directory(settings::settingsPath(m_dir.path()));
    open();
    ASSERT_EQ(m_messages.size(), 1u);
    HWND main = m_window->hwnd();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 351);
    EXPECT_EQ(client.bottom, 379);
    char caption[32] = {};
    GetWindowTextA(main, caption, sizeof caption);
    EXPECT_STREQ(caption, "Vellmore");
    const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_MINIMIZEBOX);

    HDC dc = CreateCompatibleDC(nullptr);
    for (const form::ControlSpec& spec : form::controls()) {
        SCOPED_TRACE(spec.name);
        HWND hwnd = control(spec.id);
        char name[32] = {};
        GetClassNameA(hwnd, name, sizeof name);
        EXPECT_STREQ(name, windowsClass(spec.kind));
        EXPECT_EQ(text(spec.id), spec.text);

        RECT at{};
        GetWindowRect(hwnd, &at);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&at), 2);
        const form::Rect d = form::toPixels(spec.twips, 96);
        EXPECT_EQ((std::vector<LONG>{at.left, at.top, at.right, at.bottom}),
                  (std::vector<LONG>{d.left, d.top, d.right(), d.top + d.height}));

        const LONG_PTR controlStyle = GetWindowLongPtrA(hwnd, GWL_STYLE);
        const bool label = spec.kind == form::Kind::Label || spec.kind == form::Kind::Link;
        EXPECT_EQ((controlStyle & WS_TABSTOP) != 0, !label);
        if (label) {
            const LONG_PTR align = controlStyle & SS_TYPEMASK;
            EXPECT_EQ(align, spec.align == form::Align::Right    ? SS_RIGHT
                             : spec.align == form::Align::Centre ? SS_CENTER
                                                                 : SS_LEFT);
        }
        if (spec.kind == form::Kind::Button) {
            EXPECT_EQ(controlStyle & BS_TYPEMASK, BS_PUSHBUTTON) << "never the default button";
        }
        if (spec.kind == form::Kind::Selector) {
            EXPECT_EQ(controlStyle & (CBS_DROPDOWNLIST | CBS_SORT), CBS_DROPDOWN);
        }

        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageA(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(hwnd));
        if (label) {
            EXPECT_EQ(GetTextColor(dc) == RGB(0, 0, 255), spec.blue);
        }

        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -11) << "8.25 pt at 96 DPI";
        EXPECT_EQ(font.lfUnderline != 0, spec.id == Control::Label14);
        if (form::hasFixedCaption(spec)) {
            // The whole caption shows in the font the control really got; a button's bevel and
            // focus rectangle take 8 pixels of its width.
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32A(dc, spec.text, lstrlenA(spec.text), &extent);
            const int chrome = spec.kind == form::Kind::Button ? 8 : 0;
            EXPECT_LE(extent.cx + chrome, at.right - at.left);
        }
    }
    DeleteDC(dc);
    SendMessageA(main, WM_SETCURSOR, reinterpret_cast<WPARAM>(control(Control::Label14)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))) << "a pointing hand";
}

TEST_F(Form1WindowTest, FocusStartsOnTheFirstControlAndTabsInTabOrder)
{
    open();
    const std::vector<Control> order = form::tabOrder();
    EXPECT_EQ(GetFocus(), control(order[0]));
    HWND at = control(order[0]);
    for (size_t i = 1; i <= order.size(); ++i) {
        at = GetNextDlgTabItem(m_window->hwnd(), at, FALSE);
        EXPECT_EQ(at, control(order[i % order.size()])) << i;
    }
    press(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), control(order[1])) << "the Tab key walks it";
}

TEST_F(Form1WindowTest, KeysAndClicksReachTheHandlers)
{
    open();
    HWND k = control(Control::txtK);
    SetFocus(k);
    SendMessageA(k, EM_SETSEL, 0, -1);
    type(k, "200");
    press(k, VK_RETURN);
    press(k, VK_ESCAPE);
    EXPECT_EQ(text(Control::lblExposure), "0.07213 Sec") << "Enter and Esc do nothing";
    EXPECT_TRUE(IsWindowVisible(m_window->hwnd()));
    click(Control::Command1);
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec");

    HWND combo = control(Control::Combo1);
    SetFocus(combo);
    press(selectorEdit(), VK_DOWN);
    EXPECT_EQ(text(Control::txtK), "20") << "the arrow key picks the first entry";
    SetWindowTextA(selectorEdit(), "");
    type(selectorEdit(), "FullMoon= (200");
    EXPECT_EQ(text(Control::txtK), "20");
    type(selectorEdit(), ")");
    EXPECT_EQ(text(Control::txtK), "200") << "typing an entry's text picks it";
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);

    testing::writeFile(settings::settingsPath(m_dir.path()), "FilmISO=400\r\n");
    click(Control::Command2);
    EXPECT_EQ(text(Control::txtISO), "400");
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
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

TEST_F(Form1WindowTest, AStartUpMessageWaitsForTheFirstShow)
{
    std::filesystem::create_directory(settings::settingsPath(m_dir.path()));
    open(false);
    pump();
    EXPECT_TRUE(m_messages.empty());
    showAgain(SW_SHOWNORMAL);
    EXPECT_EQ(m_messages.size(), 1u);
    showAgain(SW_MINIMIZE);
    showAgain(SW_RESTORE);
    EXPECT_EQ(m_messages.size(), 1u) << "shown once";
}

} // namespace
} // namespace vellmore::win32
