// The Win32 window under Wine: the behaviour table's driver, which works it through its message
// queue and the dialog manager, and the tests of what only this front end does.
#include "behaviour/behaviour.h"
#include "platform/encoding.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace vellmore {

using Messages = std::vector<std::tuple<UINT, WPARAM, LPARAM>>;

// Keys and clicks go through the window's message queue and the dialog manager, as a user's do;
// with none, what waits in the queue is handled, as the program's message loop does.
void send(HWND window, HWND target, const Messages& messages)
{
    for (const auto& [message, wParam, lParam] : messages)
        PostMessageW(target, message, wParam, lParam);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        win32::dispatchMessage(window, message);
}

namespace {

using form::Control;

// The accessible object's own part, as against one of its children.
VARIANT self()
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    return child;
}

constexpr LPARAM in = MAKELPARAM(2, 2);
constexpr LPARAM out = MAKELPARAM(WORD(-5), WORD(-5));

class Win32Driver final : public behaviour::Driver
{
public:
    behaviour::Front front() const override { return behaviour::Win32; }
    void open(const std::string& programDir) override
    {
        m_window = win32::Form1Window::create(
            GetModuleHandleW(nullptr), programDir, launcher,
            [this](HWND, const std::string& message) { messages.push_back(message); });
        ASSERT_NE(m_window, nullptr);
        ShowWindow(m_window->hwnd(), SW_SHOWNORMAL);
        send(m_window->hwnd(), nullptr, {});
    }
    void type(Control id, const std::string& text) override
    {
        HWND target = id == Control::Combo1 ? comboEdit() : control(id);
        SetFocus(target);
        SendMessageW(target, EM_SETSEL, 0, -1);
        Messages chars = {{WM_CHAR, VK_BACK, 1}};
        for (const wchar_t c : platform::toWide(text))
            chars.emplace_back(WM_CHAR, c, 1);
        send(m_window->hwnd(), target, chars);
    }
    void click(Control id) override
    {
        send(m_window->hwnd(), control(id),
             {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}});
    }
    void mouse(behaviour::Mouse action) override
    {
        // clang-format off
        const Messages sequences[] = {
            {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}},
            {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}, {WM_LBUTTONDBLCLK, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}},
            {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_MOUSEMOVE, MK_LBUTTON, out}, {WM_LBUTTONUP, 0, out}},
            {{WM_RBUTTONDOWN, MK_RBUTTON, in}, {WM_RBUTTONUP, 0, in}},
            {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, in}, {WM_RBUTTONUP, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}},
        };
        // clang-format on
        send(m_window->hwnd(), control(Control::Label14), sequences[static_cast<int>(action)]);
    }
    void pick(int index) override
    {
        // The arrow keys in the closed selector move its selection one entry at a time.
        for (int row = selectedIndex(); row != index; row += row < index ? 1 : -1)
            key(Control::Combo1, row < index ? behaviour::Key::Down : behaviour::Key::Up);
    }
    void key(Control id, behaviour::Key key) override
    {
        const WPARAM vk =
            std::array<WPARAM, 5>{VK_TAB, VK_DOWN, VK_UP, VK_RETURN, VK_ESCAPE}[int(key)];
        HWND target = key == behaviour::Key::Tab ? GetFocus()
                      : id == Control::Combo1    ? comboEdit()
                                                 : control(id);
        SetFocus(target);
        send(m_window->hwnd(), target, {{WM_KEYDOWN, vk, 1}, {WM_KEYUP, vk, LPARAM(0xC0000001)}});
    }
    void readerActivatesLink() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IAccessible* link = nullptr;
        AccessibleObjectFromWindow(control(Control::Label14), DWORD(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&link));
        ASSERT_NE(link, nullptr);
        link->accDoDefaultAction(self());
        link->Release();
        CoUninitialize();
        send(m_window->hwnd(), nullptr, {});
    }
    void browseList() override
    {
        SetFocus(comboEdit());
        SendMessageW(control(Control::Combo1), CB_SHOWDROPDOWN, TRUE, 0);
        send(m_window->hwnd(), comboEdit(), {{WM_KEYDOWN, VK_DOWN, 1}});
    }

    std::string text(Control id) const override { return m_window->text(id); }
    std::vector<std::string> entries() const override
    {
        std::vector<std::string> texts;
        HWND combo = control(Control::Combo1);
        for (WPARAM i = 0; i < WPARAM(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            std::wstring entry(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), L'\0');
            SendMessageW(combo, CB_GETLBTEXT, i, LPARAM(entry.data()));
            texts.push_back(platform::fromWide(entry));
        }
        return texts;
    }
    int selectedIndex() const override { return m_window->selectedIndex(); }
    std::optional<Control> focus() const override
    {
        for (const form::ControlDef& def : form::controls()) {
            if (GetFocus() == control(def.id) || IsChild(control(def.id), GetFocus()))
                return def.id;
        }
        return std::nullopt;
    }

private:
    HWND control(Control id) const { return m_window->control(id); }
    HWND comboEdit() const
    {
        return FindWindowExW(control(Control::Combo1), nullptr, L"Edit", nullptr);
    }

    std::unique_ptr<win32::Form1Window> m_window;
};

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

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<Win32Driver>();
}
} // namespace behaviour

} // namespace vellmore
