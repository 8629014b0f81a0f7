#pragma once

#include "form/layout.h"

#include <windows.h>

namespace vellmore::win32 {

// The DPI a window is shown at: its monitor's on Windows 10 and later, else the system's.
int windowDpi(HWND window);

// A layout font at `dpi` dots per inch; the caller deletes it.
HFONT createFont(const form::Font& font, int dpi);

// Creates one control from its layout entry, with its design-time text, as child `id` of
// `parent`; it is placed and given its font by placeControl. nullptr when Windows cannot make it.
HWND createControl(const form::ControlDef& def, HWND parent, int id);

// Moves and sizes a control to its layout place at `dpi`, in `font`. A fixed caption that the
// font draws wider than its box gets the box the shared caption rule gives it; the selector's
// closed part keeps the layout's height, its open list nine times that below it.
void placeControl(HWND control, const form::ControlDef& def, HFONT font, int dpi);

// The pixels a fixed caption needs in `font`: its text's width and height, plus what a push
// button's bevel and focus frame take from the box.
SIZE captionExtent(HWND control, const form::ControlDef& def, HFONT font, int dpi);

} // namespace vellmore::win32
