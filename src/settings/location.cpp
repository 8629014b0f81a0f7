#include "settings/location.h"

#include "platform/files.h"
#include "platform/folders.h"
#include "settings/settingsfile.h"

namespace vellmore::settings {
namespace {

std::string inFolder(const std::string& folder, const char* name)
{
    std::string path = folder;
    if (path.empty() || path.back() != platform::pathSeparator())
        path += platform::pathSeparator();
    return path + name;
}

} // namespace

Location locate(const std::string& programDir, const std::string& installedDir,
                const std::string& userDir)
{
    const Location beside = {settingsPath(programDir), {}};
    if (installedDir.empty() || userDir.empty() || !platform::sameFolder(programDir, installedDir))
        return beside;
    if (platform::exists(beside.path))
        return beside;
    return {inFolder(userDir, settingsFileName), userDir};
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
    return inFolder(root, "Vellmore");
#else
    return inFolder(root, "vellmore");
#endif
}

Location settingsLocation(const std::string& programDir)
{
    return locate(programDir, installedProgramDir(), userSettingsDir());
}

std::string shownName(const Location& location)
{
    return location.folder.empty() ? settingsFileName : location.path;
}

} // namespace vellmore::settings
