// The Win32 window under Wine, driven through its message queue and the dialog manager, for the
// behaviour table.
#include "behaviour/behaviour.h"
#include "platform/encoding.h"
#include "win32/form1window.h"
#include "win32/input.h"

#include <gtest/gtest.h>

#include <array>

namespace vellmore {
namespace win32test {

void send(HWND window, HWND target, const Messages& messages)
{
    for (const auto& [message, wParam, lParam] : messages)
        PostMessageW(target, message, wParam, lParam);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        win32::dispatchMessage(window, message);
}

VARIANT self()
{
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = CHILDID_SELF;
    return child;
}

} // namespace win32test

namespace {

using form::Control;
using win32test::Messages;
using win32test::self;
using win32test::send;

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

} // namespace

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<Win32Driver>();
}
} // namespace behaviour

} // namespace vellmore
