#pragma once

#include <string>

namespace vellmore::platform {

// A file URL for an absolute path ("file:///home/ann/Sky%20notes/Vellmore.ini"): every byte but
// letters, digits, "-._~" and "/" is percent-encoded, so the desktop can only take it for that
// file, never for a web address or an option.
std::string fileUrl(const std::string& absolutePath);

#ifdef _WIN32
// Starts Notepad on the settings file and returns at once, with the new process's id, or 0 when
// it could not be started. It is always the notepad.exe in the system's own folder: a search
// would look in the program's folder first, where anyone may have put a notepad.exe.
unsigned long startEditor(const std::string& settingsPath);

// ShellExecuteW(GetDesktopWindow(), "Open", doc, "", "C:\\", 1), its result as a 32-bit int
// (above 32 on success).
int shellOpen(const std::string& doc);
#endif

} // namespace vellmore::platform
