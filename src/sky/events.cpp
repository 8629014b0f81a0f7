#include "sky/events.h"

#include <algorithm>
#include <functional>

namespace vellmore::sky {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double horizonRefraction = 34.0 / 60; // degrees
constexpr double sampleSeconds = 600;           // fine enough for the Moon's quickest changes
constexpr double settledSeconds = 1;

// How far above its rise-and-set altitude a body stands: the upper limb of the Sun and the
// Moon, the centre of a planet, against the horizon lifted by refraction.
double aboveHorizon(const Place& place)
{
    return place.trueAltitude + place.semiDiameter + horizonRefraction;
}

// The instant in [a, b] where `f` changes sign, found by halving.
Instant crossing(const std::function<double(Instant)>& f, Instant a, Instant b, double fa)
{
    while (b - a > settledSeconds) {
        const Instant middle = (a + b) / 2;
        const double fm = f(middle);
        if ((fm >= 0) == (fa >= 0)) {
            a = middle;
            fa = fm;
        } else {
            b = middle;
        }
    }
    return (a + b) / 2;
}

} // namespace

Events eventsOf(Body body, const Site& site, Instant from, double hours)
{
    const auto height = [&](Instant t) { return aboveHorizon(placeOf(body, site, t)); };
    const auto hourAngle = [&](Instant t) { return placeOf(body, site, t).hourAngle; };
    Events events;
    const Instant end = from + hours * 3600;
    Place place = placeOf(body, site, from);
    for (Instant t = from; t < end;) {
        const Instant next = std::min(t + sampleSeconds, end);
        const Place later = placeOf(body, site, next);
        const double h = aboveHorizon(place);
        const double hn = aboveHorizon(later);
        if (!events.rise && h < 0 && hn >= 0)
            events.rise = crossing(height, t, next, h);
        if (!events.set && h >= 0 && hn < 0)
            events.set = crossing(height, t, next, h);
        // The hour angle passes 0 going up; at the lower meridian it wraps from pi to -pi.
        const double ha = place.hourAngle;
        if (!events.transit && ha < 0 && later.hourAngle >= 0 && later.hourAngle - ha < pi)
            events.transit = crossing(hourAngle, t, next, ha);
        t = next;
        place = later;
    }
    if (events.transit)
        events.transitAltitude = placeOf(body, site, *events.transit).altitude;
    return events;
}

double sunAltitudeBelow(SkyState state)
{
    switch (state) {
    case SkyState::Daylight:
        return 90;
    case SkyState::Civil:
        return -(horizonRefraction + 16.0 / 60); // the upper limb on the horizon
    case SkyState::Nautical:
        return -6;
    case SkyState::Astronomical:
        return -12;
    case SkyState::Dark:
        return -18;
    }
    return -18;
}

SkyState skyAt(const Site& site, Instant instant)
{
    const double sun = placeOf(Body::Sun, site, instant).trueAltitude;
    SkyState state = SkyState::Daylight;
    for (const SkyState darker :
         {SkyState::Civil, SkyState::Nautical, SkyState::Astronomical, SkyState::Dark}) {
        if (sun <= sunAltitudeBelow(darker))
            state = darker;
    }
    return state;
}

const char* skyName(SkyState state)
{
    static const char* const names[] = {"daylight", "civil twilight", "nautical twilight",
                                        "astronomical twilight", "dark"};
    return names[static_cast<int>(state)];
}

} // namespace vellmore::sky
