#pragma once

#include <string>
#include <vector>

namespace vellmore::table {

// The nearest full-stop shutter speed to an exposure, from 1/8000 s to 30 s.
struct ShutterChoice
{
    enum class Kind { Speed, Bulb, FasterThanFastest, None } kind = Kind::None;
    std::string label;      // "1/8", "30", "bulb", "faster than 1/8000", "none"
    double nominal = 0;     // seconds, for Speed
    double offsetStops = 0; // log2(exposure / nominal), for Speed
};

// Chooses by the smallest difference in stops; a tie goes to the faster speed. More than half a
// stop longer than 30 s needs bulb; more than half a stop shorter than 1/8000 s is faster than
// any speed; no exposure above 0 has none.
ShutterChoice nearestShutter(double exposureSeconds);

// The marked film speed at or above `speed` on the third-stop scale from ISO 100 to 102400
// ("100", "125", "160" ...), "100" below it and "above 102400" beyond.
std::string isoAtOrAbove(double speed);

// The full-stop speeds up to `stops` stops faster and slower than a chosen speed, fastest first,
// without the speed itself; fewer where the scale ends, none when no speed was chosen.
std::vector<std::string> bracketSpeeds(const ShutterChoice& choice, int stops);

// Speeds separated by blanks, as the tables write a bracket ("1/15 1/4").
std::string speedList(const std::vector<std::string>& speeds);

// The offset in stops to one decimal with its sign ("+0.2", "-1.0").
std::string offsetText(double stops);

} // namespace vellmore::table
