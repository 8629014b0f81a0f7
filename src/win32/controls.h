#pragma once

#include "form/layout.h"

#include <windows.h>

namespace vellmore::win32 {

// The screen's dots per inch, which twips are turned into pixels by.
int screenDpi();

// A layout font at the screen's DPI; the caller deletes it.
HFONT createFont(const form::Font& font, int dpi);

// Creates one control from its layout entry, at its pixel place, as child `id` of `parent`
// with `font`; nullptr when Windows cannot make it.
HWND createControl(const form::ControlDef& def, HWND parent, int id, HFONT font, int dpi);

} // namespace vellmore::win32
