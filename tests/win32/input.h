#pragma once

#include <windows.h>
// oleacc.h needs the types of windows.h.
#include <oleacc.h>

#include <tuple>
#include <vector>

namespace vellmore::win32test {

// What the Win32 window's driver and its own tests share.
using Messages = std::vector<std::tuple<UINT, WPARAM, LPARAM>>;

// Keys and clicks go through the window's message queue and the dialog manager, as a user's do;
// with none, what waits in the queue is handled, as the program's message loop does.
void send(HWND window, HWND target, const Messages& messages = {});

// The accessible object's own part, as against one of its children.
VARIANT self();

} // namespace vellmore::win32test
