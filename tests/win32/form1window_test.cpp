#include "behaviour/behaviour.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace vellmore {
namespace {

using form::Control;

// Handles the messages waiting in the queue, as the program's message loop does.
void pump(HWND window)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        win32::dispatchMessage(window, message);
}

// The realised font's face, cell height and underline, whether it has Cyrillic letters, and the
// window text's extent in it.
std::tuple<std::wstring, int, bool, bool, SIZE> drawn(HWND control)
{
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, HFONT(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    wchar_t text[64] = {};
    RECT box = {0, 0, 0, 0};
    DrawTextW(dc, text, GetWindowTextW(control, text, 64), &box,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    WORD glyphs[4] = {};
    GetGlyphIndicesW(dc, L"\x041B\x0443\x043D\x0430", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    const bool cyrillic = std::count(glyphs, glyphs + 4, 0xFFFF) == 0;
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {face, metrics.tmHeight, metrics.tmUnderlined != 0, cyrillic,
            SIZE{box.right, box.bottom}};
}

// The window as the layout has it at `dpi`: its client size, every control at its place (a fixed
// caption's box grown as the shared rule allows, for the caption measured in the font Windows
// really chose), the selector's open list, label alignment, colours, and each label just before
// the field it names in z-order, where a screen reader looks for a field's name.
void expectWindowAt(const win32::Form1Window& window, int dpi)
{
    HWND main = window.hwnd();
    RECT client{};
    GetClientRect(main, &client);
    const int width = form::toPixels(form::clientWidthTwips, dpi);
    EXPECT_EQ(std::make_pair(int(client.right), int(client.bottom)),
              std::make_pair(width, form::toPixels(form::clientHeightTwips, dpi)));
    // MS Sans Serif 8.25 pt from Wine's bitmap faces: 13, 16 and 20 pixels high at 96, 120, 144.
    const int cell = dpi == 96 ? 13 : dpi == 120 ? 16 : 20;
    const LONG_PTR alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    HDC dc = GetDC(main);
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        HWND hwnd = window.control(def.id);
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        const auto [face, height, underline, cyrillic, caption] = drawn(hwnd);
        const form::Rect laid = form::toPixels(def.twips, dpi);
        const bool grows = form::hasFixedCaption(def) && caption.cx > laid.width;
        const form::Rect box = grows ? form::fitCaption(laid, def.align, caption.cx, width) : laid;
        EXPECT_EQ(form::Rect({r.left, r.top, r.right - r.left, r.bottom - r.top}), box);
        EXPECT_TRUE(!form::hasFixedCaption(def) ||
                    (caption.cx <= box.width && caption.cy <= box.height));
        if (def.font == form::FontRole::Field) {
            EXPECT_TRUE(cyrillic) << "a field shows names in any script";
        } else {
            EXPECT_EQ(face + L" " + std::to_wstring(height) + (underline ? L" underlined" : L""),
                      L"MS Sans Serif " + std::to_wstring(cell) +
                          (def.id == Control::Label14 ? L" underlined" : L""));
        }
        RECT open{};
        if (SendMessageW(hwnd, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&open))) {
            EXPECT_EQ(open.bottom - open.top, 9 * laid.height)
                << "the open list below the closed part";
        }
        const bool label = def.kind == form::Kind::Label || def.kind == form::Kind::Link;
        EXPECT_TRUE(!label || (GetWindowLongPtrW(hwnd, GWL_STYLE) & SS_TYPEMASK) ==
                                  alignments[int(def.align)]);
        SendMessageW(main, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(hwnd));
        EXPECT_EQ(GetTextColor(dc) == RGB(0, 0, 255), def.blue);
        if (def.names) {
            EXPECT_EQ(GetWindow(window.control(*def.names), GW_HWNDPREV), hwnd);
        }
    }
    ReleaseDC(main, dc);
}

// A window whose settings file is a folder: the start-up load stops, every control keeps its
// design-time text, and one message waits for the window to be shown.
class Win32Form1 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(
            std::filesystem::u8path(settings::settingsPath(m_dir.path())));
        m_window = win32::Form1Window::create(GetModuleHandleW(nullptr), m_dir.path(),
                                              std::make_shared<behaviour::RecordingLauncher>());
        ASSERT_NE(m_window, nullptr);
    }

    testing::TestDir m_dir;
    std::unique_ptr<win32::Form1Window> m_window;
};

TEST_F(Win32Form1, LaysOutEveryControlAtThePrefixsDpi)
{
    const char* prefix = std::getenv("VELLMORE_TEST_DPI");
    const int dpi = prefix ? std::atoi(prefix) : 96;
    ASSERT_EQ(m_window->dpi(), dpi) << "the Wine prefix is not at the DPI the test is for";
    expectWindowAt(*m_window, dpi);
    HWND main = m_window->hwnd();
    EXPECT_EQ(GetWindowLongPtrW(main, GWL_STYLE) &
                  (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
              WS_MINIMIZEBOX);
    SendMessageW(main, WM_SETCURSOR, WPARAM(m_window->control(Control::Label14)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))) << "a pointing hand";
}

TEST_F(Win32Form1, LaysItselfOutAgainOnAMonitorOfAnotherScale)
{
    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested = {40 + dpi, 30, 740 + dpi, 730};
        SendMessageW(m_window->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        RECT frame{};
        GetWindowRect(m_window->hwnd(), &frame);
        EXPECT_EQ(std::make_pair(frame.left, frame.top),
                  std::make_pair(suggested.left, suggested.top));
        EXPECT_EQ(m_window->dpi(), dpi);
        expectWindowAt(*m_window, dpi);
    }
}

// A message box waits for the user, so it must not open inside the handler that reported it.
// The hook refuses every dialog Windows tries to make, so nothing here can wait for a click.
std::vector<std::pair<HWND, bool>> dialogs; // owner, and whether it had anything left to paint

LRESULT CALLBACK watchDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    const CREATESTRUCTW* made =
        code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs : nullptr;
    if (!made || made->lpszClass != reinterpret_cast<LPCWSTR>(ULONG_PTR(32770))) // the dialog class
        return CallNextHookEx(nullptr, code, wParam, lParam);
    dialogs.emplace_back(made->hwndParent, GetUpdateRect(made->hwndParent, nullptr, FALSE) != 0);
    return 1;
}

TEST_F(Win32Form1, MessagesOpenOnceTheReportingHandlerHasEnded)
{
    HHOOK hook = SetWindowsHookExW(WH_CBT, watchDialogs, nullptr, GetCurrentThreadId());
    HWND main = m_window->hwnd();
    pump(main);
    EXPECT_TRUE(dialogs.empty()) << "nothing before the window shows";
    ShowWindow(main, SW_SHOWNORMAL);
    EXPECT_TRUE(dialogs.empty()) << "nothing before the window is painted";
    pump(main);
    const std::vector<std::pair<HWND, bool>> startUp = {{main, false}};
    EXPECT_EQ(dialogs, startUp) << "the start-up message, owned by the painted window";
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_RESTORE);
    pump(main);
    EXPECT_EQ(dialogs.size(), 1u) << "a start-up message is shown once";
    SetWindowTextW(m_window->control(Control::txtEyepieceFL), L"0");
    SendMessageW(m_window->control(Control::Command1), BM_CLICK, 0, 0);
    EXPECT_EQ(dialogs.size(), 1u) << "the click has returned before its message opens";
    pump(main);
    EXPECT_EQ(dialogs.size(), 2u);
    UnhookWindowsHookEx(hook);
}

} // namespace
} // namespace vellmore
