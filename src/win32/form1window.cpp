#include "win32/form1window.h"

#include "form/layout.h"
#include "win32/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace vellmore::win32 {
namespace {

using form::Control;

constexpr const char* windowClass = "VellmoreForm1";
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int firstControlId = 100;
// Posted when the window is first shown, so a waiting message opens over a painted window.
constexpr UINT shownMessage = WM_APP + 1;
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF blue = RGB(0, 0, 255);

} // namespace

Form1Window::Form1Window(std::string programDir, std::shared_ptr<platform::Launcher> launcher,
                         ErrorReporter reporter)
    : m_reporter(std::move(reporter)), m_logic(*this, std::move(programDir), std::move(launcher))
{}

std::unique_ptr<Form1Window> Form1Window::create(HINSTANCE instance, const std::string& programDir,
                                                 std::shared_ptr<platform::Launcher> launcher,
                                                 ErrorReporter reporter)
{
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, windowClass, &wc)) {
        const INITCOMMONCONTROLSEX common = {sizeof common, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&common);
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = windowClass;
        if (!RegisterClassExA(&wc))
            return nullptr;
    }

    std::unique_ptr<Form1Window> window(
        new Form1Window(programDir, std::move(launcher), std::move(reporter)));
    const int dpi = screenDpi();
    RECT frame = {0, 0, form::toPixels(form::clientWidthTwips, dpi),
                  form::toPixels(form::clientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    CreateWindowExA(0, windowClass, form::windowCaption, windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    window.get());
    if (!window->m_hwnd || !window->createControls(dpi))
        return nullptr;
    window->m_logic.load();
    return window;
}

Form1Window::~Form1Window()
{
    if (m_hwnd) {
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    DeleteObject(m_font);
    DeleteObject(m_linkFont);
}

bool Form1Window::createControls(int dpi)
{
    m_font = createFont(form::windowFont, dpi);
    m_linkFont = createFont(form::linkFont, dpi);
    // Created in tab order, which is the order the dialog manager walks; labels after them.
    std::vector<const form::ControlDef*> order;
    for (const Control id : form::tabOrder())
        order.push_back(&form::definition(id));
    for (const form::ControlDef& def : form::controls()) {
        if (def.kind == form::Kind::Label || def.kind == form::Kind::Link)
            order.push_back(&def);
    }
    for (const form::ControlDef* def : order) {
        HFONT font = def->font.underline ? m_linkFont : m_font;
        const int id = firstControlId + static_cast<int>(def->id);
        m_controls[static_cast<size_t>(def->id)] = createControl(*def, m_hwnd, id, font, dpi);
    }
    if (std::find(m_controls.begin(), m_controls.end(), nullptr) != m_controls.end())
        return false;
    m_focus = control(form::tabOrder().front());
    return true;
}

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        window->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Form1Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return window->handle(message, wParam, lParam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        auto* dc = reinterpret_cast<HDC>(wParam);
        const auto id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - firstControlId;
        const bool isOurs = id >= 0 && id < form::controlCount;
        SetTextColor(
            dc, isOurs && form::controls()[size_t(id)].blue ? blue : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == control(Control::Label14)) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // IDC_HAND
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // Like a dialog: the focus leaves with the window and comes back to the same control.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_focus = focus;
        } else if (m_focus) {
            SetFocus(m_focus);
        }
        return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            PostMessageA(m_hwnd, shownMessage, 0, 0);
        break;
    case shownMessage:
        m_logic.shown();
        return 0;
    case WM_NCDESTROY:
        m_hwnd = nullptr;
        break;
    }
    return DefWindowProcA(m_hwnd, message, wParam, lParam);
}

void Form1Window::onCommand(int id, int code)
{
    // Anything else, IDOK and IDCANCEL for Enter and Esc among it, does nothing.
    switch (static_cast<Control>(id - firstControlId)) {
    case Control::Command1:
        if (code == BN_CLICKED)
            m_logic.calculateClicked();
        break;
    case Control::Command2:
        if (code == BN_CLICKED)
            m_logic.reloadClicked();
        break;
    case Control::Command3:
        if (code == BN_CLICKED)
            m_logic.editSettingsClicked();
        break;
    case Control::Combo1:
        if (code == CBN_SELCHANGE)
            m_logic.objectPicked();
        else if (code == CBN_EDITCHANGE)
            m_logic.selectorEdited();
        break;
    case Control::Label14:
        if (code == STN_CLICKED)
            m_logic.referenceClicked();
        break;
    default:
        break;
    }
}

int Form1Window::StartDoc(std::string& DocName)
{
    return m_logic.StartDoc(DocName);
}

std::string Form1Window::text(Control id) const
{
    HWND hwnd = control(id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), int(text.size()))));
    return text;
}

void Form1Window::setText(Control id, const std::string& text)
{
    SetWindowTextA(control(id), text.c_str());
}

void Form1Window::clearSelector()
{
    HWND combo = control(Control::Combo1);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SetWindowTextA(combo, "");
}

void Form1Window::appendEntries(const std::vector<std::string>& entries)
{
    HWND combo = control(Control::Combo1);
    SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    for (const std::string& entry : entries)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

int Form1Window::selectedIndex() const
{
    return static_cast<int>(SendMessageA(control(Control::Combo1), CB_GETCURSEL, 0, 0));
}

void Form1Window::setSelectedIndex(int index)
{
    SendMessageA(control(Control::Combo1), CB_SETCURSEL, WPARAM(index), 0);
}

void Form1Window::showMessage(const std::string& message)
{
    if (m_reporter)
        m_reporter(m_hwnd, message);
    else
        MessageBoxA(m_hwnd, message.c_str(), form::windowCaption, MB_OK | MB_ICONWARNING);
}

void dispatchMessage(HWND window, MSG& message)
{
    if (IsDialogMessageA(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int runMessageLoop(HWND window)
{
    MSG message{};
    while (IsWindow(window)) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got < 0)
            return 1;
        dispatchMessage(window, message);
    }
    return 0;
}

} // namespace vellmore::win32
