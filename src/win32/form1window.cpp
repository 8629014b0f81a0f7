#include "win32/form1window.h"

#include "form/layout.h"
#include "platform/encoding.h"
#include "win32/controls.h"
#include "win32/linkaccessible.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace vellmore::win32 {
namespace {

using form::Control;
using form::Event;

constexpr const wchar_t* windowClass = L"VellmoreForm1";
// Control ids start past IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int firstControlId = 100;
// Posted after the window's first paint, so a waiting message opens over a painted window.
constexpr UINT shownMessage = WM_APP + 1;
// Posted for each reported message, which opens once the reporting handler has ended.
constexpr UINT messageWaiting = WM_APP + 2;
// Posted when a screen reader asks for the link's default action.
constexpr UINT linkActivated = WM_APP + 3;
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
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, windowClass, &wc)) {
        const INITCOMMONCONTROLSEX common = {sizeof common, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&common);
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = windowClass;
        if (!RegisterClassExW(&wc))
            return nullptr;
    }

    std::unique_ptr<Form1Window> window(
        new Form1Window(programDir, std::move(launcher), std::move(reporter)));
    // Sized for the layout at the system's DPI; laying it out sizes it again where the monitor it
    // opens on has another.
    const int dpi = windowDpi(nullptr);
    RECT frame = {0, 0, form::toPixels(form::clientWidthTwips, dpi),
                  form::toPixels(form::clientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, windowStyle, FALSE, 0);
    const std::wstring caption = platform::toWide(form::windowCaption);
    CreateWindowExW(0, windowClass, caption.c_str(), windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                    window.get());
    if (!window->m_hwnd || !window->createControls())
        return nullptr;
    window->m_logic.load();
    return window;
}

Form1Window::~Form1Window()
{
    if (m_hwnd) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
    for (HFONT font : m_fonts)
        DeleteObject(font);
    for (HFONT font : m_captionFonts)
        DeleteObject(font);
}

bool Form1Window::createControls()
{
    layout(windowDpi(m_hwnd));
    if (std::find(m_controls.begin(), m_controls.end(), nullptr) != m_controls.end())
        return false;
    SetWindowSubclass(control(Control::Label14), linkProc, 0, reinterpret_cast<DWORD_PTR>(this));
    m_focus = control(form::tabOrder().front());
    return true;
}

void Form1Window::layout(int dpi)
{
    m_dpi = dpi;
    std::array<HFONT, 3> fonts{};
    for (const form::FontRole role :
         {form::FontRole::Window, form::FontRole::Link, form::FontRole::Field})
        fonts[size_t(role)] = createFont(form::fontOf(role), dpi);
    std::array<HFONT, form::controlCount> own{};
    // Every caption is measured in one device context. The first time, each control is made in
    // its place, and each label just before the control it names: a screen reader names a field
    // after the text before it in z-order, and the dialog manager's Tab walks the same order.
    HDC dc = GetDC(m_hwnd);
    for (const Control id : form::creationOrder()) {
        const form::ControlDef& def = form::definition(id);
        const Placement at = placementOf(def, dc, fonts[size_t(def.font)], dpi);
        own[size_t(id)] = at.own ? at.font : nullptr;
        HWND& made = m_controls[size_t(id)];
        if (made)
            placeControl(made, def, at);
        else
            made = createControl(def, m_hwnd, firstControlId + static_cast<int>(id), at);
    }
    ReleaseDC(m_hwnd, dc);
    for (HFONT old : std::exchange(m_fonts, fonts))
        DeleteObject(old);
    for (HFONT old : std::exchange(m_captionFonts, own))
        DeleteObject(old);
    fitClientArea();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void Form1Window::fitClientArea()
{
    // The frame's size depends on the DPI and the system's metrics; the client area is the
    // layout's own size at this DPI, whatever frame the system draws around it.
    RECT client{};
    RECT frame{};
    GetClientRect(m_hwnd, &client);
    GetWindowRect(m_hwnd, &frame);
    const int dx = form::toPixels(form::clientWidthTwips, m_dpi) - client.right;
    const int dy = form::toPixels(form::clientHeightTwips, m_dpi) - client.bottom;
    if (dx != 0 || dy != 0) {
        SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left + dx,
                     frame.bottom - frame.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return window->handle(hwnd, message, wParam, lParam);
}

// The link reports what the main button does on it; SS_NOTIFY's own STN_CLICKED comes on the
// press and is not used.
LRESULT CALLBACK Form1Window::linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self)
{
    auto forward = [self](Event event) {
        reinterpret_cast<Form1Window*>(self)->m_logic.handle(Control::Label14, event);
    };
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(hwnd); // so the release comes here wherever it happens
        forward(Event::Pressed);
        return 0;
    case WM_LBUTTONUP: {
        RECT inside{};
        GetClientRect(hwnd, &inside);
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        forward(PtInRect(&inside, at) ? Event::ReleasedIn : Event::ReleasedOut);
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    }
    case WM_LBUTTONDBLCLK:
        forward(Event::DoubleClicked);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        forward(Event::OtherButton);
        break;
    case WM_CAPTURECHANGED:
        forward(Event::CaptureLost);
        break;
    case WM_GETOBJECT:
        if (const LRESULT object = linkAccessibleObject(
                hwnd, wParam, lParam, reinterpret_cast<Form1Window*>(self)->m_hwnd, linkActivated))
            return object;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, linkProc, 0);
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT Form1Window::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
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
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the place Windows suggests, then everything
        // laid out again at the new DPI.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layout(HIWORD(wParam));
        return 0;
    }
    case WM_ACTIVATE:
        // Like a dialog: the focus leaves with the window and comes back to the same control.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                m_focus = focus;
        } else if (m_focus) {
            SetFocus(m_focus);
        }
        return 0;
    case WM_PAINT:
        // The first paint, however the window came to be shown: WM_SHOWWINDOW does not come for
        // every way of showing a window.
        if (!m_painted) {
            m_painted = true;
            PostMessageW(hwnd, shownMessage, 0, 0);
        }
        break;
    case shownMessage:
        // Whatever is still to be drawn is drawn before a start-up message covers it.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_logic.shown();
        return 0;
    case linkActivated:
        m_logic.handle(Control::Label14, Event::Activated);
        return 0;
    case messageWaiting:
        if (!m_messages.empty()) {
            const std::string text = m_messages.front();
            m_messages.pop_front();
            if (m_reporter) {
                m_reporter(hwnd, text);
            } else {
                MessageBoxW(hwnd, platform::toWide(text).c_str(),
                            platform::toWide(form::windowCaption).c_str(), MB_OK | MB_ICONWARNING);
            }
        }
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        m_hwnd = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Form1Window::onCommand(int id, int code)
{
    // Anything else, IDOK and IDCANCEL for Enter and Esc among it, is none of the controls'.
    const int index = id - firstControlId;
    if (index < 0 || index >= form::controlCount)
        return;
    const form::ControlDef& def = form::controls()[static_cast<size_t>(index)];
    if (def.kind == form::Kind::Button && code == BN_CLICKED)
        m_logic.handle(def.id, Event::Clicked);
    else if (def.kind == form::Kind::Selector && code == CBN_SELCHANGE)
        m_logic.handle(def.id, Event::Picked);
    else if (def.kind == form::Kind::Selector && code == CBN_EDITCHANGE)
        m_logic.handle(def.id, Event::Edited);
}

std::string Form1Window::text(Control id) const
{
    HWND hwnd = control(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
    return platform::fromWide(text);
}

void Form1Window::setText(Control id, const std::string& text)
{
    // Reading a control's text stays in the program; setting it goes through the system, so a
    // text that is already there (the start-up load gives the design-time texts again) is left.
    if (this->text(id) != text)
        SetWindowTextW(control(id), platform::toWide(text).c_str());
}

void Form1Window::clearSelector()
{
    HWND combo = control(Control::Combo1);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    setText(Control::Combo1, "");
}

void Form1Window::appendEntries(const std::vector<std::string>& entries)
{
    HWND combo = control(Control::Combo1);
    SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    for (const std::string& entry : entries) {
        const std::wstring wide = platform::toWide(entry);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

int Form1Window::selectedIndex() const
{
    return static_cast<int>(SendMessageW(control(Control::Combo1), CB_GETCURSEL, 0, 0));
}

void Form1Window::setSelectedIndex(int index)
{
    SendMessageW(control(Control::Combo1), CB_SETCURSEL, WPARAM(index), 0);
}

void Form1Window::showMessage(const std::string& message)
{
    m_messages.push_back(message);
    PostMessageW(m_hwnd, messageWaiting, 0, 0);
}

void dispatchMessage(HWND window, MSG& message)
{
    if (IsDialogMessageW(window, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop(HWND window)
{
    MSG message{};
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got < 0)
            return 1;
        dispatchMessage(window, message);
    }
    return 0;
}

} // namespace vellmore::win32
