#pragma once

#include <string>

namespace vellmore::platform {

// The command line that opens the settings file in Notepad: "notepad " and the path, unquoted,
// exactly as the program has always started it.
std::string editorCommandLine(const std::string& settingsPath);

#ifdef _WIN32
// Starts a command line with the given show command (1: a normal window with the focus) and
// returns at once; false when the program could not be started.
bool startProgram(const std::string& commandLine, int showCommand);

// ShellExecuteA(GetDesktopWindow(), "Open", doc, "", "C:\\", 1), its result as a 32-bit int
// (above 32 on success). `doc` is text in the system code page.
int shellOpen(const std::string& doc);
#endif

} // namespace vellmore::platform
