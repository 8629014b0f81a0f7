#include "platform/shellcommands.h"

#include "platform/launcher.h"

#ifdef _WIN32
#include "platform/encoding.h"

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdint>
#endif

namespace vellmore::platform {

std::string fileUrl(const std::string& absolutePath)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : absolutePath) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                           c == '~' || c == '/';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += hex[byte >> 4];
            url += hex[byte & 0xF];
        }
    }
    return url;
}

#ifdef _WIN32
unsigned long startEditor(const std::string& settingsPath)
{
    wchar_t system[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(system, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 0;
    const std::wstring notepad = std::wstring(system, n) + L"\\notepad.exe";
    // A Windows path cannot hold a double quote, so quoting both is enough for any blanks.
    std::wstring line = L"\"" + notepad + L"\" \"" + toWide(settingsPath) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(notepad.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

int shellOpen(const std::string& doc)
{
    const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"Open", toWide(doc).c_str(), L"",
                                           L"C:\\", SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

namespace {

class WindowsLauncher final : public Launcher
{
public:
    bool editSettings(const std::string& settingsPath) override
    {
        return startEditor(settingsPath) != 0;
    }
    int openDocument(const std::string& doc) override { return shellOpen(doc); }
};

} // namespace

std::shared_ptr<Launcher> windowsLauncher()
{
    return std::make_shared<WindowsLauncher>();
}
#endif

} // namespace vellmore::platform
