#pragma once

#include "sky/calendar.h"

#include <optional>
#include <string>

namespace vellmore::sky {

// Where the observer stands: degrees north and east, metres above sea level.
struct Site
{
    double latitude = 0;
    double longitude = 0;
    double height = 0;
};

enum class Body { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune };

// The body a name stands for, in any letter case ("saturn", "Moon"); none for other names.
std::optional<Body> bodyNamed(const std::string& name);

// The lower-case English name: "moon", "venus".
const char* bodyName(Body body);

// A body as the observer sees it: topocentric, for the centre of its disc, the altitude with and
// without standard refraction, the azimuth from north through east, and the hour angle.
struct Place
{
    double altitude = 0;     // degrees, with standard refraction
    double trueAltitude = 0; // degrees, geometric
    double azimuth = 0;      // degrees
    double hourAngle = 0;    // radians, -pi to pi, 0 on the meridian
    double semiDiameter = 0; // degrees, of the Sun and the Moon (0 for planets)
};

// The place of a body at an instant, by ERFA: the Moon (Moon98), the planets (Plan94) and the
// Earth (Epv00), corrected for light time and aberration, and taken through precession,
// nutation and the Earth's rotation to the site's horizon.
Place placeOf(Body body, const Site& site, Instant instant);

// The fraction of the Moon's disc the Sun lights, as seen from the Earth's centre.
double moonIlluminated(Instant instant);

// Standard refraction (10 degrees C, 1010 hPa; Saemundsson, as in Meeus 16.4), in degrees, for a
// geometric altitude: 29 arc minutes there, so that a body whose apparent altitude is 0 stands 34
// arc minutes below the horizon. More than a degree below, it fades to nothing at the nadir.
double refraction(double trueAltitude);

} // namespace vellmore::sky
