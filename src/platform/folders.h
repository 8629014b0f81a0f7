#pragma once

#include <string>

namespace vellmore::platform {

// The root of the user's own settings folders: $XDG_CONFIG_HOME, or ~/.config where that is
// unset or empty (Linux); the roaming AppData folder (Windows). "" when the system cannot say.
std::string userConfigRoot();

// Makes a folder and every missing folder above it; new folders on Linux are the user's alone
// (0700), as the XDG rules ask. "" when the folder stands afterwards, else the system's reason.
std::string makeFolders(const std::string& path);

// Whether two folder paths name the same folder, however each is spelt: on Linux the same folder
// by device and inode, through links, "." and ".."; on Windows the same full, long path without
// regard to case, through 8.3 short names, a "\\?\" prefix and subst drives. Folders that do not
// exist are compared by name; a trailing separator does not count.
bool sameFolder(const std::string& a, const std::string& b);

// Whether anything at all stands at the path: a file, a folder, a link.
bool exists(const std::string& path);

#ifdef _WIN32
// A text value under HKEY_LOCAL_MACHINE in the 64-bit view, "" where there is none.
std::string machineRegistryText(const std::string& key, const std::string& name);
#endif

} // namespace vellmore::platform
