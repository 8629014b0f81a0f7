#pragma once

#include "sky/ephemeris.h"

#include <optional>

namespace vellmore::sky {

// The Moon's integrated V magnitude at a phase angle (degrees, 0 at full), by Krisciunas and
// Schaefer (1991, PASP 103, 1033): V(a) = -12.73 + 0.026 |a| + 4e-9 a^4.
double moonMagnitude(double phaseAngle);

// The phase angle beyond which the law no longer holds: a Moon about 7% lit, near the Sun.
constexpr double moonLawLimit = 150;

// How bright the Moon's lit part is, per unit of lit area, against the full Moon's: the light of
// the whole disc by the law, over the lit fraction (1 + cos a) / 2. Beyond the law's limit, the
// value at the limit.
double moonSurfaceBrightness(double phaseAngle);

// The lit fraction of a disc at a phase angle (degrees).
double litFraction(double phaseAngle);

// A body's disc as the site sees it: its equatorial diameter from the IAU working group's radius
// (2015) and its distance, the lit fraction, and for a planet its visual magnitude.
struct Disc
{
    double diameter = 0; // arc seconds
    double litFraction = 0;
    std::optional<double> magnitude;
};

Disc discOf(Body body, const Place& place, double year);

// A planet's visual magnitude by Mallama and Hilton (2018, "Computing apparent planetary
// magnitudes for The Astronomical Almanac"): 5 log10(r d) plus the planet's magnitude at unit
// distances at the phase angle; Saturn's with its rings, by their tilt to the Sun and the site.
// Mars and Jupiter without the small corrections for the longitude of their faces; Uranus by the
// Sun's and the site's latitudes on it; Neptune's brightening over 1980-2000 taken in. None for
// other bodies.
std::optional<double> planetMagnitude(Body body, const Place& place, double year);

// What a planet's magnitude depends on: its distances (au) from the Sun and the site, the phase
// angle, the Sun's and the site's latitudes (degrees) on Saturn's ring plane or on Uranus, whether
// Saturn's rings count, and the year with its fraction.
struct Circumstances
{
    double sunDistance = 0;
    double distance = 0;
    double phaseAngle = 0;
    double sunLatitude = 0;
    double siteLatitude = 0;
    bool rings = true;
    double year = 2000;
};
std::optional<double> planetMagnitude(Body body, const Circumstances& circumstances);

} // namespace vellmore::sky
