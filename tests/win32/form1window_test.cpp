#include "behaviour/behaviour.h"
#include "form/layout.h"
#include "platform/encoding.h"
#include "settings/settingsfile.h"
#include "testdir.h"
#include "win32/form1window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace vellmore {
namespace {

using form::Control;

// Keys and clicks go through the window's message queue and the dialog manager, as a user's do.
void pump(HWND window)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        win32::dispatchMessage(window, message);
}

void post(HWND target, const std::vector<std::tuple<UINT, WPARAM, LPARAM>>& messages)
{
    for (const auto& [message, wParam, lParam] : messages)
        PostMessageW(target, message, wParam, lParam);
}

LPARAM at(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// The Win32 window under Wine.
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
        pump(m_window->hwnd());
    }
    void type(Control id, const std::string& text) override
    {
        HWND target = id == Control::Combo1 ? comboEdit() : control(id);
        SetFocus(target);
        SendMessageW(target, EM_SETSEL, 0, -1);
        std::vector<std::tuple<UINT, WPARAM, LPARAM>> chars = {{WM_CHAR, VK_BACK, 1}};
        for (const wchar_t c : platform::toWide(text))
            chars.emplace_back(WM_CHAR, c, 1);
        send(target, chars);
    }
    void click(Control id) override
    {
        if (id == Control::Label14)
            return mouse(id, behaviour::Mouse::Click);
        send(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON, at(2, 2)}, {WM_LBUTTONUP, 0, at(2, 2)}});
    }
    void mouse(Control id, behaviour::Mouse action) override
    {
        const LPARAM in = at(2, 2);
        const LPARAM out = at(-5, -5);
        switch (action) {
        case behaviour::Mouse::Click:
            return send(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON, in}, {WM_LBUTTONUP, 0, in}});
        case behaviour::Mouse::DoubleClick:
            return send(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON, in},
                                      {WM_LBUTTONUP, 0, in},
                                      {WM_LBUTTONDBLCLK, MK_LBUTTON, in},
                                      {WM_LBUTTONUP, 0, in}});
        case behaviour::Mouse::DragOff:
            return send(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON, in},
                                      {WM_MOUSEMOVE, MK_LBUTTON, out},
                                      {WM_LBUTTONUP, 0, out}});
        case behaviour::Mouse::RightClick:
            return send(control(id), {{WM_RBUTTONDOWN, MK_RBUTTON, in}, {WM_RBUTTONUP, 0, in}});
        case behaviour::Mouse::RightDuringClick:
            return send(control(id), {{WM_LBUTTONDOWN, MK_LBUTTON, in},
                                      {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, in},
                                      {WM_RBUTTONUP, MK_LBUTTON, in},
                                      {WM_LBUTTONUP, 0, in}});
        }
    }
    void pick(int index) override
    {
        // The arrow keys in the closed selector move its selection one entry at a time.
        SetFocus(comboEdit());
        for (int row = selectedIndex(); row != index; row += row < index ? 1 : -1)
            key(Control::Combo1, row < index ? behaviour::Key::Down : behaviour::Key::Up);
    }
    void key(Control id, behaviour::Key key) override
    {
        const WPARAM keys[] = {VK_TAB, VK_DOWN, VK_UP, VK_RETURN, VK_ESCAPE};
        const WPARAM vk = keys[static_cast<int>(key)];
        HWND target = key == behaviour::Key::Tab ? GetFocus()
                      : id == Control::Combo1    ? comboEdit()
                                                 : control(id);
        send(target, {{WM_KEYDOWN, vk, 1}, {WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001)}});
    }
    void browseList() override
    {
        SetFocus(comboEdit());
        SendMessageW(control(Control::Combo1), CB_SHOWDROPDOWN, TRUE, 0);
        send(comboEdit(), {{WM_KEYDOWN, VK_DOWN, 1}});
    }

    std::string text(Control id) const override { return m_window->text(id); }
    std::vector<std::string> entries() const override
    {
        HWND combo = control(Control::Combo1);
        std::vector<std::string> texts;
        const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
        for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
            std::wstring entry(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)),
                               L'\0');
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
            texts.push_back(platform::fromWide(entry));
        }
        return texts;
    }
    int selectedIndex() const override { return m_window->selectedIndex(); }
    std::optional<Control> focus() const override
    {
        HWND focused = GetFocus();
        for (const form::ControlDef& def : form::controls()) {
            if (focused == control(def.id) || IsChild(control(def.id), focused))
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
    void send(HWND target, const std::vector<std::tuple<UINT, WPARAM, LPARAM>>& messages)
    {
        post(target, messages);
        pump(m_window->hwnd());
    }

    std::unique_ptr<win32::Form1Window> m_window;
};

} // namespace

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<Win32Driver>();
}
} // namespace behaviour

namespace {

// The DPI the Wine prefix the tests run in was set to.
int prefixDpi()
{
    const char* dpi = std::getenv("VELLMORE_TEST_DPI");
    return dpi ? std::atoi(dpi) : 96;
}

// The realised font's face and cell height, and the caption's extent in it.
struct Drawn
{
    std::wstring face;
    int height;
    bool underline;
    SIZE caption;
};

Drawn drawn(HWND control)
{
    Drawn result{};
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), int(text.size()))));
    RECT box = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {face, metrics.tmHeight, metrics.tmUnderlined != 0, {box.right, box.bottom}};
}

RECT placeIn(HWND control, HWND window)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Every control at its layout place for `dpi`, a fixed caption's box grown only away from its
// aligned edge and only as far as the caption needs, in the font Windows really chose.
void expectLaidOutAt(const win32::Form1Window& window, int dpi)
{
    HWND main = window.hwnd();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(std::make_pair(client.right, client.bottom),
              std::make_pair(LONG(form::toPixels(form::clientWidthTwips, dpi)),
                             LONG(form::toPixels(form::clientHeightTwips, dpi))));
    // MS Sans Serif 8.25 pt from Wine's bitmap faces: 13, 16 and 20 pixels high at 96, 120, 144.
    const int cell = dpi == 96 ? 13 : dpi == 120 ? 16 : 20;
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        HWND hwnd = window.control(def.id);
        const RECT rect = placeIn(hwnd, main);
        const form::Rect laid = form::toPixels(def.twips, dpi);
        EXPECT_EQ(std::make_pair(rect.top, rect.bottom),
                  std::make_pair(LONG(laid.top), LONG(laid.top + laid.height)));
        if (def.kind == form::Kind::Selector) {
            RECT open{};
            SendMessageW(hwnd, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&open));
            EXPECT_EQ(open.bottom - open.top, 9 * laid.height)
                << "the open list, nine closed heights";
        }
        const Drawn text = drawn(hwnd);
        EXPECT_EQ(text.face, L"MS Sans Serif");
        EXPECT_EQ(text.height, cell);
        EXPECT_EQ(text.underline, def.id == Control::Label14);
        const bool grows = form::hasFixedCaption(def) && text.caption.cx > laid.width;
        if (!grows) {
            EXPECT_EQ(std::make_pair(rect.left, rect.right),
                      std::make_pair(LONG(laid.left), LONG(laid.right())));
            continue;
        }
        EXPECT_TRUE(rect.left == laid.left || def.align != form::Align::Left);
        EXPECT_TRUE(rect.right == laid.right() || def.align != form::Align::Right);
        EXPECT_GE(rect.right - rect.left, text.caption.cx) << "the caption is cut off";
        EXPECT_GE(rect.bottom - rect.top, text.caption.cy);
    }
}

class Win32Form1 : public ::testing::Test
{
protected:
    // A folder where the settings file belongs stops the start-up load, so every control keeps
    // its design-time text; its message waits for the window's first show.
    void open()
    {
        std::filesystem::create_directory(
            std::filesystem::u8path(settings::settingsPath(m_dir.path())));
        m_window =
            win32::Form1Window::create(GetModuleHandleW(nullptr), m_dir.path(),
                                       std::make_shared<testing::RecordingLauncher>(), m_reporter);
        ASSERT_NE(m_window, nullptr);
    }

    testing::TestDir m_dir;
    win32::ErrorReporter m_reporter;
    std::unique_ptr<win32::Form1Window> m_window;
};

TEST_F(Win32Form1, LaysOutEveryControlAtThePrefixsDpi)
{
    open();
    ASSERT_EQ(m_window->dpi(), prefixDpi()) << "the Wine prefix is not at the DPI the test is for";
    expectLaidOutAt(*m_window, prefixDpi());
    HWND main = m_window->hwnd();
    wchar_t caption[32] = {};
    GetWindowTextW(main, caption, 32);
    EXPECT_STREQ(caption, L"Vellmore");
    const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), WS_MINIMIZEBOX);
    const LONG_PTR alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    HDC dc = GetDC(main);
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        HWND hwnd = m_window->control(def.id);
        EXPECT_EQ(m_window->text(def.id), def.text);
        const LONG_PTR controlStyle = GetWindowLongPtrW(hwnd, GWL_STYLE);
        const bool label = def.kind == form::Kind::Label || def.kind == form::Kind::Link;
        EXPECT_TRUE(!label || (controlStyle & SS_TYPEMASK) == alignments[int(def.align)]);
        EXPECT_TRUE(def.kind != form::Kind::Button || (controlStyle & BS_TYPEMASK) == BS_PUSHBUTTON)
            << "never the default button";
        SendMessageW(main, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(hwnd));
        EXPECT_EQ(GetTextColor(dc) == RGB(0, 0, 255), def.blue);
        // A screen reader names a field after the text just before it in z-order.
        if (def.names)
            EXPECT_EQ(GetWindow(m_window->control(*def.names), GW_HWNDPREV), hwnd);
    }
    ReleaseDC(main, dc);
    SendMessageW(main, WM_SETCURSOR, WPARAM(m_window->control(Control::Label14)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))) << "a pointing hand";
}

TEST_F(Win32Form1, LaysItselfOutAgainOnAMonitorOfAnotherScale)
{
    open();
    for (const int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested = {40 + dpi, 30, 40 + dpi + 700, 30 + 700};
        SendMessageW(m_window->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
        RECT frame{};
        GetWindowRect(m_window->hwnd(), &frame);
        EXPECT_EQ(std::make_pair(frame.left, frame.top),
                  std::make_pair(suggested.left, suggested.top));
        EXPECT_EQ(m_window->dpi(), dpi);
        expectLaidOutAt(*m_window, dpi);
    }
}

// A message box waits for the user, so it must not open inside the handler that reported it.
// The test refuses every dialog Windows tries to make, so nothing here can wait for a click.
struct DialogWatch
{
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            // The dialog class, by its atom.
            if (create->lpszClass == reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32770))) {
                owners.push_back(create->hwndParent);
                painted.push_back(!GetUpdateRect(create->hwndParent, nullptr, FALSE));
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    DialogWatch() : m_hook(SetWindowsHookExW(WH_CBT, hook, nullptr, GetCurrentThreadId())) {}
    ~DialogWatch() { UnhookWindowsHookEx(m_hook); }

    static inline std::vector<HWND> owners;
    static inline std::vector<bool> painted; // the owner had nothing left to paint
    HHOOK m_hook;
};

TEST_F(Win32Form1, MessagesOpenOnceTheReportingHandlerHasEnded)
{
    DialogWatch watch;
    open(); // no reporter: the window's own message box
    HWND main = m_window->hwnd();
    pump(main);
    EXPECT_TRUE(DialogWatch::owners.empty()) << "nothing before the window shows";
    ShowWindow(main, SW_SHOWNORMAL);
    EXPECT_TRUE(DialogWatch::owners.empty()) << "nothing before the window is painted";
    pump(main);
    EXPECT_EQ(DialogWatch::owners, std::vector<HWND>{main}) << "the start-up message, owned";
    EXPECT_EQ(DialogWatch::painted, std::vector<bool>{true}) << "over a painted window";
    ShowWindow(main, SW_MINIMIZE);
    ShowWindow(main, SW_RESTORE);
    pump(main);
    EXPECT_EQ(DialogWatch::owners.size(), 1u) << "a start-up message is shown once";

    SetWindowTextW(m_window->control(Control::txtEyepieceFL), L"0");
    SendMessageW(m_window->control(Control::Command1), BM_CLICK, 0, 0);
    EXPECT_EQ(DialogWatch::owners.size(), 1u) << "the click has returned before its message opens";
    pump(main);
    EXPECT_EQ(DialogWatch::owners.size(), 2u);
}

} // namespace
} // namespace vellmore
