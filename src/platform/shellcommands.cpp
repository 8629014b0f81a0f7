#include "platform/shellcommands.h"

#include "platform/launcher.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdint>
#include <vector>
#endif

namespace vellmore::platform {

std::string editorCommandLine(const std::string& settingsPath)
{
    return "notepad " + settingsPath;
}

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
bool startProgram(const std::string& commandLine, int showCommand)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

int shellOpen(const std::string& doc)
{
    const HINSTANCE result =
        ShellExecuteA(GetDesktopWindow(), "Open", doc.c_str(), "", "C:\\", SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<std::intptr_t>(result));
}

namespace {

class WindowsLauncher final : public Launcher
{
public:
    bool editSettings(const std::string& settingsPath) override
    {
        return startProgram(editorCommandLine(settingsPath), SW_SHOWNORMAL);
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
