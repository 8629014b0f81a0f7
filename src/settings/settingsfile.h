#pragma once

#include <string>

namespace vellmore::settings {

inline constexpr const char* settingsFileName = "Vellmore.ini";

// The settings file beside the program: the program directory, the platform's separator and
// "Vellmore.ini". Worked out again whenever it is needed; there is no other location.
std::string settingsPath(const std::string& programDir);

// The file written when none exists: 15 lines, each ended by CR LF (line 7 empty).
std::string defaultContent();

} // namespace vellmore::settings
