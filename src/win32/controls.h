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

// Creates one control from its layout entry, with its design-time text, as child `id` of
// `parent`; it is placed and given its font by placeControl. nullptr when Windows cannot make it.
HWND createControl(const form::ControlDef& def, HWND parent, int id);

// Moves and sizes a control to its layout place at `dpi`, in `font`, its role's font. A fixed
// caption that the font draws wider than its box gets the box and, where growing is not enough,
// the smaller size of its face that the shared caption rule gives it: that font is returned, for
// the caller to delete once the control no longer uses it. The selector's closed part keeps the
// layout's height, its open list nine times that below it.
HFONT placeControl(HWND control, const form::ControlDef& def, HFONT font, int dpi);

// The pixels a fixed caption needs in `font`: its text's width and height, plus what a push
// button's bevel and focus frame take from the box.
SIZE captionExtent(HWND control, const form::ControlDef& def, HFONT font, int dpi);

} // namespace vellmore::win32
