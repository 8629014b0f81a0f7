#pragma once

#include <string>

namespace vellmore::platform {

// The command line that opens the settings file in Notepad: "notepad " and the path, unquoted.
std::string editorCommandLine(const std::string& settingsPath);

// A file URL for an absolute path ("file:///home/ann/Sky%20notes/Vellmore.ini"): every byte but
// letters, digits, "-._~" and "/" is percent-encoded, so the desktop can only take it for that
// file, never for a web address or an option.
std::string fileUrl(const std::string& absolutePath);

#ifdef _WIN32
// Starts a command line with the given show command (1: a normal window with the focus) and
// returns at once; false when the program could not be started.
bool startProgram(const std::string& commandLine, int showCommand);

// ShellExecuteA(GetDesktopWindow(), "Open", doc, "", "C:\\", 1), its result as a 32-bit int
// (above 32 on success). `doc` is text in the system code page.
int shellOpen(const std::string& doc);
#endif

} // namespace vellmore::platform
