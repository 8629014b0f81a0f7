#pragma once

#include <windows.h>

namespace vellmore::win32 {

// Answers WM_GETOBJECT for the link's client object: the static control's own accessible object
// as the system makes it, told as a link (ROLE_SYSTEM_LINK, "Jump") whose default action posts
// `activated` to `owner`, where the window opens the page as a click does. 0 for other objects.
LRESULT linkAccessibleObject(HWND link, WPARAM wParam, LPARAM lParam, HWND owner, UINT activated);

} // namespace vellmore::win32
