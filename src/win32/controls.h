#pragma once

#include "form/layout.h"

#include <windows.h>

namespace vellmore::win32 {

// The DPI a window is shown at: its monitor's on Windows 10 and later, else the system's.
int windowDpi(HWND window);

// A layout font's em height in pixels at `dpi` dots per inch.
int fontPixels(const form::Font& font, int dpi);

// A layout font at `dpi` dots per inch, or with an em of `pixels`; the caller deletes it.
HFONT createFont(const form::Font& font, int dpi);
HFONT createFontOfPixels(const form::Font& font, int pixels);

// Where a control goes at `dpi` and the font it is drawn in: its layout place, and for a fixed
// caption that its role's `font` draws wider than its box, the box and, where growing is not
// enough, the smaller size of its face that the shared caption rule gives it (then `own`: the
// caller deletes that font once the control no longer uses it). Captions are measured in `dc`.
struct Placement
{
    form::Rect box;
    HFONT font = nullptr;
    bool own = false;
};
Placement placementOf(const form::ControlDef& def, HDC dc, HFONT font, int dpi);

// Creates one control from its layout entry, with its design-time text, in its place and font,
// as child `id` of `parent`; nullptr when Windows cannot make it.
HWND createControl(const form::ControlDef& def, HWND parent, int id, const Placement& at);

// Moves a control to another place and font, as when the window changes DPI.
void placeControl(HWND control, const form::ControlDef& def, const Placement& at);

} // namespace vellmore::win32
