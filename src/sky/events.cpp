#include "sky/events.h"

#include <algorithm>
#include <cmath>
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

SearchGrid searchGrid(const Sky& sky, Instant from, double hours)
{
    SearchGrid grid;
    const Instant end = from + hours * 3600;
    grid.frames.reserve(static_cast<size_t>(std::ceil(hours * 3600 / sampleSeconds)) + 1);
    for (Instant t = from; t < end; t = std::min(t + sampleSeconds, end))
        grid.frames.push_back(frameAt(sky, t));
    grid.frames.push_back(frameAt(sky, end));
    return grid;
}

Events eventsOf(Body body, const Sky& sky, const SearchGrid& grid)
{
    const auto at = [&](Instant t) { return placeOf(body, sky, frameAt(sky, t)); };
    const auto height = [&](Instant t) { return aboveHorizon(at(t)); };
    const auto hourAngle = [&](Instant t) { return at(t).hourAngle; };
    Events events;
    const std::vector<Frame>& frames = grid.frames;
    if (frames.empty())
        return events;
    Place place = placeOf(body, sky, frames.front());
    for (size_t i = 0; i + 1 < frames.size(); ++i) {
        const Instant t = frames[i].instant;
        const Instant next = frames[i + 1].instant;
        const Place later = placeOf(body, sky, frames[i + 1]);
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
        place = later;
    }
    if (events.transit)
        events.transitAltitude = at(*events.transit).altitude;
    return events;
}

std::optional<Instant> firstRise(Body body, const Sky& sky, Instant from, double hours)
{
    const auto height = [&](Instant t) {
        return aboveHorizon(placeOf(body, sky, frameAt(sky, t)));
    };
    const Instant end = from + hours * 3600;
    double h = height(from);
    for (Instant t = from; t < end;) {
        const Instant next = std::min(t + sampleSeconds, end);
        const double hn = height(next);
        if (h < 0 && hn >= 0)
            return crossing(height, t, next, h);
        t = next;
        h = hn;
    }
    return std::nullopt;
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

SkyState skyAt(const Sky& sky, const Frame& frame)
{
    const double sun = placeOf(Body::Sun, sky, frame).trueAltitude;
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
