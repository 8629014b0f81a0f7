#pragma once

#include "sky/calendar.h"
#include "sky/earth.h"

#include <erfa.h>

#include <array>
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
    double distance = 0;     // au, from the site to where the light left the body
    double sunDistance = 0;  // au, of the body from the Sun when the light left it
    double phaseAngle = 0;   // degrees, between the Sun and the site as seen from the body
    double poleLatitude = 0; // degrees, the site's latitude on Saturn's rings or Uranus (IAU pole)
    double sunPoleLatitude = 0; // degrees, the Sun's latitude there
};

// A site watched over a span of time, with the Earth's slow terms and the bodies' positions and
// velocities tabulated across it: the Moon's geocentric (Moon98), the planets' heliocentric
// (Plan94). An empty table stands for the full model at every instant.
struct Sky
{
    Site site;
    EarthTable earth;
    std::array<Tabulated, 9> bodies; // by Body; the Sun's stays empty
};

// The tables start 5 hours early, for the light that reaches the site from as far as Neptune.
Sky skyOver(const Site& site, Instant from, Instant to);

// What every body's place at an instant shares: TT, the Earth's state, and the site's context
// for ERFA's astrometry (the Earth rotation angle and the site's position and velocity in it).
struct Frame
{
    Instant instant = 0;
    double tt = 0; // days from J2000.0
    EarthState earth;
    eraASTROM astrom{};
};

Frame frameAt(const Sky& sky, Instant instant);

// The place of a body at a frame's instant, by ERFA: the Moon (Moon98) and the planets (Plan94),
// corrected for light time and aberration, and taken through precession, nutation and the
// Earth's rotation to the site's horizon.
Place placeOf(Body body, const Sky& sky, const Frame& frame);

// The fraction of the Moon's disc the Sun lights, as seen from the Earth's centre.
double moonIlluminated(Instant instant);

// The Moon's phase angle, Sun - Moon - Earth's centre, in degrees (0 at full): at an instant by
// the full models, or at a frame's instant from the sky's tables.
double moonPhaseAngle(Instant instant);
double moonPhaseAngle(const Sky& sky, const Frame& frame);

// Standard refraction (10 degrees C, 1010 hPa; Saemundsson, as in Meeus 16.4), in degrees, for a
// geometric altitude: 29 arc minutes there, so that a body whose apparent altitude is 0 stands 34
// arc minutes below the horizon. More than a degree below, it fades to nothing at the nadir.
double refraction(double trueAltitude);

} // namespace vellmore::sky
