#include "settings/location.h"

#include "platform/files.h"
#include "platform/folders.h"
#include "settings/settingsfile.h"

namespace vellmore::settings {

Location locate(const std::string& programDir, const std::string& installedDir,
                const std::string& userDir)
{
    const Location beside = {settingsPath(programDir), {}};
    if (installedDir.empty() || userDir.empty() || !platform::sameFolder(programDir, installedDir))
        return beside;
    if (platform::exists(beside.path))
        return beside;
    return {platform::joinPath(userDir, settingsFileName), userDir};
}

std::string installedProgramDir()
{
#ifdef _WIN32
    return platform::machineRegistryText("Software\\Vellmore", "InstallDir");
#else
    return VELLMORE_INSTALL_BINDIR;
#endif
}

std::string userSettingsDir()
{
    const std::string root = platform::userConfigRoot();
    if (root.empty())
        return {};
#ifdef _WIN32
    return platform::joinPath(root, "Vellmore");
#else
    return platform::joinPath(root, "vellmore");
#endif
}

Location settingsLocation(const std::string& programDir)
{
    // The user's folder is asked for only for an installed copy: the system is slow to say.
    const std::string installed = installedProgramDir();
    if (installed.empty() || !platform::sameFolder(programDir, installed))
        return {settingsPath(programDir), {}};
    return locate(programDir, installed, userSettingsDir());
}

std::string shownName(const Location& location)
{
    return location.folder.empty() ? settingsFileName : location.path;
}

} // namespace vellmore::settings
