#include "win32/controls.h"

#include "platform/encoding.h"

namespace vellmore::win32 {
namespace {

const wchar_t* classOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::TextBox:
        return L"EDIT";
    case form::Kind::Button:
        return L"BUTTON";
    case form::Kind::Selector:
        return L"COMBOBOX";
    case form::Kind::Label:
    case form::Kind::Link:
        break;
    }
    return L"STATIC";
}

DWORD styleOf(const form::ControlDef& def)
{
    const DWORD base = WS_CHILD | WS_VISIBLE;
    switch (def.kind) {
    case form::Kind::TextBox:
        return base | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    case form::Kind::Button:
        return base | WS_TABSTOP | BS_PUSHBUTTON;
    case form::Kind::Selector:
        return base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case form::Kind::Label:
    case form::Kind::Link:
        break;
    }
    // Captions show "&" as it is: none of them carries an access key. The link needs SS_NOTIFY
    // to be given the mouse at all.
    DWORD style = base | SS_NOPREFIX;
    if (def.kind == form::Kind::Link)
        style |= SS_NOTIFY;
    if (def.align == form::Align::Right)
        return style | SS_RIGHT;
    return style | (def.align == form::Align::Centre ? SS_CENTER : SS_LEFT);
}

int systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// A drop-down's closed height follows its font; its selection field is sized so the closed part
// is the layout's height, and its height as a window includes its open list, nine more closed
// heights. The field is set once to a known height first: some versions report it a little
// higher than it was set.
void fitSelector(HWND control, const form::Rect& box)
{
    RECT closed{};
    GetWindowRect(control, &closed);
    if (closed.bottom - closed.top == box.height)
        return;
    const auto field = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), field);
    GetWindowRect(control, &closed);
    const int wanted = field + box.height - (closed.bottom - closed.top);
    if (wanted > 0)
        SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), wanted);
}

} // namespace

int windowDpi(HWND window)
{
    // Windows 10 1607 and later; the program also runs where it is missing.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : systemDpi();
}

int fontPixels(const form::Font& font, int dpi)
{
    return MulDiv(static_cast<int>(font.points * 100 + 0.5), dpi, 7200);
}

HFONT createFont(const form::Font& font, int dpi)
{
    return createFontOfPixels(font, fontPixels(font, dpi));
}

HFONT createFontOfPixels(const form::Font& font, int pixels)
{
    LOGFONTW def{};
    def.lfHeight = -pixels;
    def.lfWeight = font.weight;
    def.lfUnderline = font.underline;
    def.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = platform::toWide(font.family);
    lstrcpynW(def.lfFaceName, face.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&def);
}

Placement placementOf(const form::ControlDef& def, HDC dc, HFONT font, int dpi)
{
    Placement at;
    at.box = form::toPixels(form::placeOf(def), dpi);
    at.font = font;
    if (!form::hasFixedCaption(def))
        return at;
    const form::Font& face = form::fontOf(def.font);
    const int pixels = fontPixels(face, dpi);
    const std::wstring text = platform::toWide(def.text);
    // A push button draws its bevel and focus frame inside its box: 4 pixels a side at 96 DPI.
    const int chrome = def.kind == form::Kind::Button ? MulDiv(8, dpi, 96) : 0;
    const auto extentAt = [&](int size) {
        HFONT sized = size == pixels ? font : createFontOfPixels(face, size);
        const HGDIOBJ old = SelectObject(dc, sized);
        RECT box = {0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        if (sized != font)
            DeleteObject(sized);
        return form::Extent{static_cast<int>(box.right) + chrome, static_cast<int>(box.bottom)};
    };
    const form::CaptionFit fit = form::fitCaptionFace(
        at.box, def.align, form::toPixels(form::clientWidthTwips, dpi), pixels, extentAt);
    at.box = fit.box;
    if (fit.size != pixels) {
        at.font = createFontOfPixels(face, fit.size);
        at.own = true;
    }
    return at;
}

HWND createControl(const form::ControlDef& def, HWND parent, int id, const Placement& at)
{
    const DWORD exStyle = def.kind == form::Kind::TextBox ? WS_EX_CLIENTEDGE : 0;
    const std::wstring text = platform::toWide(def.text);
    // Made with no size and then placed: under Wine, making a child window with a size of its own
    // costs more than making it empty and moving it.
    HWND control = CreateWindowExW(
        exStyle, classOf(def.kind), text.c_str(), styleOf(def), 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (!control)
        return nullptr;
    if (def.kind == form::Kind::Selector)
        SetWindowTextW(control, text.c_str()); // a combo box leaves its window name unused
    placeControl(control, def, at);
    return control;
}

void placeControl(HWND control, const form::ControlDef& def, const Placement& at)
{
    const bool selector = def.kind == form::Kind::Selector;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(at.font), FALSE);
    if (selector)
        fitSelector(control, at.box);
    // A drop-down's height includes its open list: nine more closed heights.
    SetWindowPos(control, nullptr, at.box.left, at.box.top, at.box.width,
                 selector ? at.box.height * 10 : at.box.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace vellmore::win32
