#include "win32/controls.h"

namespace vellmore::win32 {
namespace {

const char* classOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::TextBox:
        return "EDIT";
    case form::Kind::Button:
        return "BUTTON";
    case form::Kind::Selector:
        return "COMBOBOX";
    case form::Kind::Label:
    case form::Kind::Link:
        break;
    }
    return "STATIC";
}

DWORD styleOf(const form::ControlSpec& spec)
{
    const DWORD base = WS_CHILD | WS_VISIBLE;
    switch (spec.kind) {
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
    // Captions show "&" as it is: none of them carries an access key.
    DWORD style = base | SS_NOPREFIX;
    if (spec.kind == form::Kind::Link)
        style |= SS_NOTIFY;
    if (spec.align == form::Align::Right)
        return style | SS_RIGHT;
    return style | (spec.align == form::Align::Centre ? SS_CENTER : SS_LEFT);
}

} // namespace

int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT createFont(const form::Font& font, int dpi)
{
    LOGFONTA spec{};
    spec.lfHeight = -MulDiv(static_cast<int>(font.points * 100 + 0.5), dpi, 7200);
    spec.lfWeight = font.weight;
    spec.lfUnderline = font.underline;
    spec.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(spec.lfFaceName, font.family, LF_FACESIZE);
    return CreateFontIndirectA(&spec);
}

HWND createControl(const form::ControlSpec& spec, HWND parent, int id, HFONT font, int dpi)
{
    // Windows has the design's face, MS Sans Serif, so every caption fits the box drawn for it.
    const form::Rect box = form::toPixels(spec.twips, dpi);
    // A drop-down's height includes its open list; its closed height follows its font.
    const bool selector = spec.kind == form::Kind::Selector;
    const DWORD exStyle = spec.kind == form::Kind::TextBox ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExA(
        exStyle, classOf(spec.kind), spec.text, styleOf(spec), box.left, box.top, box.width,
        selector ? box.height * 10 : box.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (!control)
        return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (selector)
        SetWindowTextA(control, spec.text); // a combo box leaves its window name unused
    return control;
}

} // namespace vellmore::win32
