#pragma once

#include <string>

namespace vellmore::settings {

// Where a copy of the program keeps its settings file.
struct Location
{
    std::string path;   // the settings file
    std::string folder; // made before the default file is written there; "" beside the program
};

// A portable copy keeps Vellmore.ini beside itself. An installed copy, one that runs from
// `installedDir`, keeps it in `userDir`, the user's own settings folder, except where a
// Vellmore.ini (or anything of that name) already lies beside it: that one is still used.
// With no installed folder or no user folder known, every copy is portable.
Location locate(const std::string& programDir, const std::string& installedDir,
                const std::string& userDir);

// The folder an installed copy runs from on this machine: the binary folder the build installs
// to (Linux), or the InstallDir the installer recorded under HKLM\Software\Vellmore (Windows).
// "" where there is none.
std::string installedProgramDir();

// The user's Vellmore settings folder: ~/.config/vellmore or $XDG_CONFIG_HOME/vellmore (Linux),
// %APPDATA%\Vellmore (Windows); "" when the system cannot say.
std::string userSettingsDir();

// The rule above with this machine's folders. Worked out again whenever it is needed.
Location settingsLocation(const std::string& programDir);

// How a message about the file's content names it: by its name beside the program, where the
// user put it, and by its whole path anywhere else.
std::string shownName(const Location& location);

} // namespace vellmore::settings
