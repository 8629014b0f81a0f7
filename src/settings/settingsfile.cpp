#include "settings/settingsfile.h"

#include "platform/files.h"

namespace vellmore::settings {

std::string settingsPath(const std::string& programDir)
{
    return platform::joinPath(programDir, settingsFileName);
}

std::string defaultContent()
{
    static const char* const lines[] = {
        "TelescopeFL=1420",
        "EyepieceFL=19",
        "CameraFL=50",
        "TelescopeAperture=220",
        "K=40",
        "FilmISO=100",
        "",
        "[Exposures]",
        "CrescentMoon=20",
        "QuarterMoon=40",
        "FullMoon=200",
        "Saturn=13.6",
        "Jupiter=32.5",
        "Mars=32.5",
        "Venus=1310",
    };
    std::string content;
    for (const char* line : lines)
        content.append(line).append("\r\n");
    return content;
}

} // namespace vellmore::settings
