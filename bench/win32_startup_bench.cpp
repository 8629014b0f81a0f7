// Start of the Windows window to its first paint: Form1Window created (both loads of the
// settings file and the first calculation included), shown and painted with all its controls,
// against a bare window with the same 29 plain controls, interleaved in the same run. Prints the
// medians and their ratio.
#include "platform/launcher.h"
#include "settings/settingsfile.h"
#include "startratio.h"
#include "win32/form1window.h"

#include <windows.h>

#include <fstream>
#include <string>

namespace {

void paintAll(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        vellmore::win32::dispatchMessage(window, message);
}

void startForm1(HINSTANCE instance, const std::string& dir)
{
    auto window = vellmore::win32::Form1Window::create(
        instance, dir, vellmore::platform::windowsLauncher(), [](HWND, const std::string&) {});
    ShowWindow(window->hwnd(), SW_SHOWNOACTIVATE);
    paintAll(window->hwnd());
}

// The same controls at the same places, with nothing behind them.
void startBare(HINSTANCE instance, HFONT font)
{
    HWND window =
        CreateWindowExA(0, "VellmoreBareWindow", "Vellmore",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 357, 404, nullptr, nullptr, instance, nullptr);
    auto add = [&](const char* kind, const char* text, DWORD style, int x, int y, int w, int h) {
        const DWORD edge = style & ES_AUTOHSCROLL ? WS_EX_CLIENTEDGE : 0;
        HWND control = CreateWindowExA(edge, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                       window, nullptr, instance, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    for (int i = 0; i < 6; ++i)
        add("EDIT", "1420", WS_TABSTOP | ES_AUTOHSCROLL, 136, 24 + 24 * i, 65, 19);
    for (int i = 0; i < 19; ++i)
        add("STATIC", "Telescope FL (mm):", SS_RIGHT, 24, 16 + 17 * i, 105, 17);
    for (int i = 0; i < 3; ++i)
        add("BUTTON", "Calculate", WS_TABSTOP | BS_PUSHBUTTON, 224, 16 + 40 * i, 89, 25);
    add("COMBOBOX", "", WS_TABSTOP | CBS_DROPDOWN, 208, 120, 137, 210);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    paintAll(window);
    DestroyWindow(window);
}

} // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA bare{};
    bare.lpfnWndProc = DefWindowProcA;
    bare.hInstance = instance;
    bare.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    bare.lpszClassName = "VellmoreBareWindow";
    RegisterClassA(&bare);
    HFONT font =
        CreateFontA(-11, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "vellmore-bench";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::ofstream(vellmore::settings::settingsPath(dir), std::ios::binary)
        << vellmore::settings::defaultContent();

    vellmore::bench::compareStarts(
        "Win32", 101, [&] { startForm1(instance, dir); }, [&] { startBare(instance, font); });
    DeleteFileA(vellmore::settings::settingsPath(dir).c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
