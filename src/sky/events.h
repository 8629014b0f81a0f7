#pragma once

#include "sky/ephemeris.h"

#include <optional>
#include <vector>

namespace vellmore::sky {

// A body's first rise, transit and set in a span of time, each missing where there is none.
struct Events
{
    std::optional<Instant> rise;
    std::optional<Instant> transit;
    std::optional<Instant> set;
    double transitAltitude = 0; // degrees, with refraction
};

// The frames a search for events walks: one every 10 minutes through the span, its end
// included, made once and shared by every body searched over that span.
struct SearchGrid
{
    std::vector<Frame> frames;
};

SearchGrid searchGrid(const Sky& sky, Instant from, double hours);

// Rise and set are the almanac's: the upper limb of the Sun or the Moon, or the centre of a
// planet, on the horizon lifted by 34 arc minutes of refraction. Transit is the centre on the
// meridian, above the pole. Each is found to a second between two frames of the grid.
Events eventsOf(Body body, const Sky& sky, const SearchGrid& grid);

// The first rise alone in the `hours` from `from`, found as eventsOf finds it on the grid
// searchGrid would make; the search stops there.
std::optional<Instant> firstRise(Body body, const Sky& sky, Instant from, double hours);

// How dark the sky is, by the Sun's geometric altitude: daylight above the horizon (its upper
// limb risen), then civil, nautical and astronomical twilight down to 6, 12 and 18 degrees below.
enum class SkyState { Daylight, Civil, Nautical, Astronomical, Dark };
SkyState skyAt(const Sky& sky, const Frame& frame);
const char* skyName(SkyState state); // "daylight", "civil twilight", ... "dark"

// The Sun's geometric altitude below which the sky is the state's or darker (degrees).
double sunAltitudeBelow(SkyState state);

} // namespace vellmore::sky
