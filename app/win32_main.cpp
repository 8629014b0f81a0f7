#include "platform/files.h"
#include "platform/launcher.h"
#include "win32/form1window.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    const auto window = vellmore::win32::Form1Window::create(
        instance, vellmore::platform::executableDirectory(nullptr),
        vellmore::platform::windowsLauncher());
    if (!window) {
        MessageBoxW(nullptr, L"Vellmore could not open its window.", L"Vellmore", MB_ICONERROR);
        return 1;
    }
    ShowWindow(window->hwnd(), show);
    UpdateWindow(window->hwnd());
    return vellmore::win32::runMessageLoop(window->hwnd());
}
