#pragma once

#include "sky/ephemeris.h"

#include <optional>

namespace vellmore::sky {

// A body's first rise, transit and set in a span of time, each missing where there is none.
struct Events
{
    std::optional<Instant> rise;
    std::optional<Instant> transit;
    std::optional<Instant> set;
    double transitAltitude = 0; // degrees, with refraction
};

// Rise and set are the almanac's: the upper limb of the Sun or the Moon, or the centre of a
// planet, on the horizon lifted by 34 arc minutes of refraction. Transit is the centre on the
// meridian, above the pole.
Events eventsOf(Body body, const Site& site, Instant from, double hours);

// How dark the sky is, by the Sun's geometric altitude: daylight above the horizon (its upper
// limb risen), then civil, nautical and astronomical twilight down to 6, 12 and 18 degrees below.
enum class SkyState { Daylight, Civil, Nautical, Astronomical, Dark };
SkyState skyAt(const Site& site, Instant instant);
const char* skyName(SkyState state); // "daylight", "civil twilight", ... "dark"

// The Sun's geometric altitude below which the sky is the state's or darker (degrees).
double sunAltitudeBelow(SkyState state);

} // namespace vellmore::sky
