// What only the Win32 window does: its layout at each DPI and in any face, its link for screen
// readers, and when its messages open.
#include "behaviour/behaviour.h"
#include "platform/encoding.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"
#include "win32/input.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace vellmore {
namespace {

using form::Control;
using win32test::self;
using win32test::send;

// What a control draws: its font's cell height, and that of its face at the layout's size at
// `dpi`; underline and Cyrillic letters; its text's extent on one line; and whether the text,
// drawn as the control draws it (wrapping at its width), fits the control whole.
struct Drawn
{
    int height;
    int fullHeight;
    bool underline;
    bool cyrillic;
    SIZE line;
    bool whole;
};

Drawn drawn(HWND control, int dpi)
{
    const auto font = HFONT(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW full{};
    GetObjectW(font, sizeof full, &full);
    full.lfHeight = -MulDiv(825, dpi, 7200); // 8.25 points
    const HFONT fullFont = CreateFontIndirectW(&full);
    HDC dc = GetDC(control);
    TEXTMETRICW metrics{};
    const HGDIOBJ old = SelectObject(dc, fullFont);
    GetTextMetricsW(dc, &metrics);
    const int fullHeight = metrics.tmHeight;
    SelectObject(dc, font);
    GetTextMetricsW(dc, &metrics);
    wchar_t text[64] = {};
    const int length = GetWindowTextW(control, text, 64);
    RECT line = {0, 0, 0, 0};
    DrawTextW(dc, text, length, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT client{};
    GetClientRect(control, &client);
    RECT wrapped = client;
    DrawTextW(dc, text, length, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    WORD glyphs[4] = {};
    GetGlyphIndicesW(dc, L"\x041B\x0443\x043D\x0430", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    DeleteObject(fullFont);
    return {metrics.tmHeight,
            fullHeight,
            metrics.tmUnderlined != 0,
            std::count(glyphs, glyphs + 4, 0xFFFF) == 0,
            SIZE{line.right, line.bottom},
            wrapped.right <= client.right && wrapped.bottom <= client.bottom};
}

// The window as the layout has it at `dpi`, in whatever face the machine gives: its client size;
// every control at its place, a fixed caption whole in a box grown as the shared rule allows (a
// button's about its centre) and in its face at the layout's size or, where even that is too
// narrow, a smaller one; the selector's open list; label alignment, colours, and each label just
// before the field it names in z-order, where a screen reader looks for a field's name.
void expectWindowAt(const win32::Form1Window& window, int dpi)
{
    HWND main = window.hwnd();
    RECT client{};
    GetClientRect(main, &client);
    const int width = form::toPixels(form::clientWidthTwips, dpi);
    EXPECT_EQ(std::make_pair(int(client.right), int(client.bottom)),
              std::make_pair(width, form::toPixels(form::clientHeightTwips, dpi)));
    const LONG_PTR alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    HDC dc = GetDC(main);
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        HWND hwnd = window.control(def.id);
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        const form::Rect at = {r.left, r.top, r.right - r.left, r.bottom - r.top};
        const Drawn d = drawn(hwnd, dpi);
        const form::Rect laid = form::toPixels(form::placeOf(def), dpi);
        const bool fixed = form::hasFixedCaption(def);
        if (def.kind == form::Kind::Button) {
            SIZE ideal{};
            SendMessageW(hwnd, BCM_GETIDEALSIZE, 0, LPARAM(&ideal));
            EXPECT_LE(ideal.cx, at.width) << "the button's caption is cut";
            EXPECT_EQ(std::make_pair(at.top, at.height), std::make_pair(laid.top, laid.height));
            EXPECT_LE(std::abs(2 * at.left + at.width - 2 * laid.left - laid.width), 1);
            EXPECT_GE(at.width, laid.width);
        } else {
            const bool grows = fixed && d.line.cx > laid.width;
            EXPECT_EQ(at, grows ? form::fitCaption(laid, def.align, d.line.cx, width) : laid);
            EXPECT_TRUE(!fixed || d.whole) << "the caption is cut or wrapped";
        }
        EXPECT_TRUE(fixed ? d.height <= d.fullHeight : d.height == d.fullHeight)
            << d.height << " against " << d.fullHeight;
        EXPECT_EQ(d.underline, def.id == Control::Label14);
        EXPECT_TRUE(def.font != form::FontRole::Field || d.cyrillic)
            << "a field shows names in any script";
        if (def.kind == form::Kind::Selector) {
            RECT open{};
            SendMessageW(hwnd, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&open));
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

// A screen reader meets the address as a link, named by its address, whose default action is to
// jump to it (the behaviour table has the reader take that action).
TEST_F(Win32Form1, TheAddressIsALinkToAScreenReader)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* link = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(m_window->control(Control::Label14), DWORD(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&link)),
              S_OK);
    VARIANT role{};
    BSTR name = nullptr;
    BSTR action = nullptr;
    link->get_accRole(self(), &role);
    link->get_accName(self(), &name);
    link->get_accDefaultAction(self(), &action);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
    EXPECT_EQ(platform::fromWide(name ? name : L""), form::referenceAddress);
    EXPECT_EQ(std::wstring(action ? action : L""), L"Jump");
    SysFreeString(name);
    SysFreeString(action);
    link->Release();
    CoUninitialize();
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
    dialogs.clear();
    HHOOK hook = SetWindowsHookExW(WH_CBT, watchDialogs, nullptr, GetCurrentThreadId());
    HWND main = m_window->hwnd();
    send(main, nullptr, {});
    EXPECT_TRUE(dialogs.empty()) << "nothing before the window shows";
    // Shown without WM_SHOWWINDOW, which Windows does not send for every way of showing a window.
    SetWindowPos(main, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(dialogs.empty()) << "nothing before the window is painted";
    send(main, nullptr, {});
    const std::vector<std::pair<HWND, bool>> startUp = {{main, false}};
    EXPECT_EQ(dialogs, startUp) << "the start-up message, owned by the painted window";
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_RESTORE);
    send(main, nullptr, {});
    EXPECT_EQ(dialogs.size(), 1u) << "a start-up message is shown once";
    SetWindowTextW(m_window->control(Control::txtEyepieceFL), L"0");
    SendMessageW(m_window->control(Control::Command1), BM_CLICK, 0, 0);
    EXPECT_EQ(dialogs.size(), 1u) << "the click has returned before its message opens";
    send(main, nullptr, {});
    EXPECT_EQ(dialogs.size(), 2u);
    UnhookWindowsHookEx(hook);
}

} // namespace
} // namespace vellmore
