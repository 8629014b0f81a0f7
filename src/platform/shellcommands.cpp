#include "platform/shellcommands.h"

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
#endif

} // namespace vellmore::platform
