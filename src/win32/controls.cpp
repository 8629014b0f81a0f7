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
    // Captions show "&" as it is: none of them carries an access key.
    DWORD style = base | SS_NOPREFIX;
    if (def.kind == form::Kind::Link)
        style |= SS_NOTIFY;
    if (def.align == form::Align::Right)
        return style | SS_RIGHT;
    return style | (def.align == form::Align::Centre ? SS_CENTER : SS_LEFT);
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
    LOGFONTA def{};
    def.lfHeight = -MulDiv(static_cast<int>(font.points * 100 + 0.5), dpi, 7200);
    def.lfWeight = font.weight;
    def.lfUnderline = font.underline;
    def.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(def.lfFaceName, font.family, LF_FACESIZE);
    return CreateFontIndirectA(&def);
}

HWND createControl(const form::ControlDef& def, HWND parent, int id, HFONT font, int dpi)
{
    // Windows has the layout's face, MS Sans Serif, so every caption fits the box drawn for it.
    const form::Rect box = form::toPixels(def.twips, dpi);
    // A drop-down's height includes its open list; its closed height follows its font.
    const bool selector = def.kind == form::Kind::Selector;
    const DWORD exStyle = def.kind == form::Kind::TextBox ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExA(
        exStyle, classOf(def.kind), def.text, styleOf(def), box.left, box.top, box.width,
        selector ? box.height * 10 : box.height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (!control)
        return nullptr;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (selector)
        SetWindowTextA(control, def.text); // a combo box leaves its window name unused
    return control;
}

} // namespace vellmore::win32
