#include "sky/brightness.h"

#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace vellmore::sky {
namespace {

constexpr double degree = 3.14159265358979323846 / 180;

// Equatorial radii in km (IAU WGCCRE 2015, the Sun's the nominal one of IAU 2015 B3; the Moon's
// mean radius), by Body.
constexpr double radiusKm[] = {695700, 1737.4, 2440.53, 6051.8, 3396.19,
                               71492,  60268,  25559,   24764};

double polynomial(double x, std::initializer_list<double> coefficients)
{
    double sum = 0, power = 1;
    for (const double c : coefficients) {
        sum += c * power;
        power *= x;
    }
    return sum;
}

// The magnitude at 1 au from the Sun and the site, at phase angle a (degrees).
std::optional<double> unitMagnitude(Body body, const Circumstances& c)
{
    const double a = c.phaseAngle;
    switch (body) {
    case Body::Mercury:
        return polynomial(
            a, {-0.613, 6.3280e-02, -1.6336e-03, 3.3644e-05, -3.4265e-07, 1.6893e-09, -3.0334e-12});
    case Body::Venus:
        if (a < 163.7)
            return polynomial(a, {-4.384, -1.044e-03, 3.687e-04, -2.814e-06, 8.938e-09});
        return polynomial(a, {236.05828, -2.81914, 8.39034e-03});
    case Body::Mars:
        if (a <= 50)
            return polynomial(a, {-1.601, 0.02267, -0.0001302});
        return polynomial(a, {-0.367, -0.02573, 0.0003445});
    case Body::Jupiter:
        if (a <= 12)
            return polynomial(a, {-9.395, -3.7e-04, 6.16e-04});
        return -9.428 -
               2.5 * std::log10(polynomial(a / 180, {1.0, -1.507, -0.363, -0.062, 2.809, -1.876}));
    case Body::Saturn: {
        // The rings' tilt is the geometric mean of the Sun's and the site's latitudes on their
        // plane; with the two on opposite sides the site sees the rings' unlit face: no tilt.
        const double product = c.sunLatitude * c.siteLatitude;
        const double tilt = product > 0 ? std::sqrt(product) : 0;
        // Globe and rings where the paper fits them (phase to 6.5 degrees, tilt to 27); the
        // globe alone beyond.
        if (c.rings && a <= 6.5 && tilt <= 27) {
            const double s = std::sin(tilt * degree);
            return -8.914 - 1.825 * s + 0.026 * a - 0.378 * s * std::exp(-2.25 * a);
        }
        if (a <= 6)
            return polynomial(a, {-8.95, -3.7e-04, 6.16e-04});
        return polynomial(a, {-8.94, 2.446e-04, 2.672e-04, -1.505e-06, 4.767e-09});
    }
    case Body::Uranus: {
        // By the mean of the Sun's and the site's latitudes on the planet, as they lie apart.
        const double latitude = (std::fabs(c.sunLatitude) + std::fabs(c.siteLatitude)) / 2;
        return -7.110 - 8.4e-04 * latitude + 6.587e-03 * a + 1.045e-04 * a * a;
    }
    case Body::Neptune: {
        const double year = c.year;
        const double atZero = year < 1980   ? -6.89
                              : year < 2000 ? -6.89 - 0.0054 * (year - 1980)
                                            : -7.00;
        // Within 1.9 degrees, all the Earth ever sees, the data show no change with phase.
        if (a <= 1.9)
            return atZero;
        return atZero + 7.944e-03 * a + 9.617e-05 * a * a;
    }
    case Body::Sun:
    case Body::Moon:
        break;
    }
    return std::nullopt;
}

} // namespace

double moonMagnitude(double phaseAngle)
{
    const double a = std::fabs(phaseAngle);
    return -12.73 + 0.026 * a + 4e-9 * std::pow(a, 4);
}

double litFraction(double phaseAngle)
{
    return (1 + std::cos(phaseAngle * degree)) / 2;
}

double moonSurfaceBrightness(double phaseAngle)
{
    const double a = std::min(std::fabs(phaseAngle), moonLawLimit);
    return std::pow(10, -0.4 * (moonMagnitude(a) - moonMagnitude(0))) / litFraction(a);
}

std::optional<double> planetMagnitude(Body body, const Circumstances& c)
{
    const std::optional<double> unit = unitMagnitude(body, c);
    if (!unit)
        return std::nullopt;
    return *unit + 5 * std::log10(c.sunDistance * c.distance);
}

std::optional<double> planetMagnitude(Body body, const Place& place, double year)
{
    return planetMagnitude(body, {place.sunDistance, place.distance, place.phaseAngle,
                                  place.sunPoleLatitude, place.poleLatitude, true, year});
}

Disc discOf(Body body, const Place& place, double year)
{
    Disc disc;
    const double radius = radiusKm[static_cast<size_t>(body)] * 1e3 / ERFA_DAU;
    disc.diameter = 2 * std::asin(std::min(radius / place.distance, 1.0)) / degree * 3600;
    disc.litFraction = litFraction(place.phaseAngle);
    disc.magnitude = planetMagnitude(body, place, year);
    return disc;
}

} // namespace vellmore::sky
