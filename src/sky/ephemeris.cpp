#include "sky/ephemeris.h"

#include "sky/brightness.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vellmore::sky {
namespace {

constexpr double degreesPerRadian = 180 / ERFA_DPI;
constexpr double auLightDays = ERFA_AULT / ERFA_DAYSEC;
constexpr double sunSemiDiameterAtOneAu = 959.63 / 3600; // degrees
constexpr double moonRadiusAu = 1737.4e3 / ERFA_DAU;

const char* const names[] = {"sun",     "moon",   "mercury", "venus",  "mars",
                             "jupiter", "saturn", "uranus",  "neptune"};

// Plan94's numbers: Mercury 1, Venus 2, the Earth-Moon barycentre 3, Mars 4 ... Neptune 8.
int planetNumber(Body body)
{
    const int n = static_cast<int>(body) - static_cast<int>(Body::Mercury) + 1;
    return n >= 3 ? n + 1 : n;
}

// Nodes for the bodies' tables. Measured against the models over 26-hour spans from 1900 to
// 2100, the cubic between them stays within 0.01 mas of the Moon as seen from the Earth with
// nodes half an hour apart, and of every planet with nodes an hour apart (Mercury, the quickest
// to turn, 0.004 mas); two hours would cost the Moon 1.3 mas.
constexpr double moonNodeDays = 0.5 / 24;
constexpr double planetNodeDays = 1 / 24.0;
constexpr double earliestLightDays = 5 / 24.0; // Neptune's light takes up to 4.3 hours

// A body's position and velocity (au, au per day) by its model: the Moon's from the Earth's
// centre, a planet's from the Sun's.
void bodyFigures(double tt, int which, double* out)
{
    double pv[2][3];
    const auto body = static_cast<Body>(which);
    if (body == Body::Moon)
        eraMoon98(ERFA_DJ00, tt, pv);
    else
        eraPlan94(ERFA_DJ00, tt, planetNumber(body), pv);
    std::copy(&pv[0][0], &pv[0][0] + 6, out);
}

// The body's barycentric position and velocity (au, au per day) at `back` days from the frame's
// instant; the Earth moves on at its velocity meanwhile, and the Sun stays where it is then.
void barycentric(Body body, const Sky& sky, const Frame& frame, double back, double out[2][3])
{
    const EarthState& earth = frame.earth;
    double pv[2][3] = {};
    if (body != Body::Sun) {
        const Tabulated& table = sky.bodies[static_cast<size_t>(body)];
        if (table.empty())
            bodyFigures(frame.tt + back, static_cast<int>(body), &pv[0][0]);
        else
            table.at(frame.tt + back, &pv[0][0]);
    }
    for (int i = 0; i < 3; ++i) {
        out[0][i] = pv[0][i] + (body == Body::Moon
                                    ? earth.barycentric[0][i] + earth.barycentric[1][i] * back
                                    : earth.barycentric[0][i] - earth.heliocentric[i]);
        out[1][i] = pv[1][i] + (body == Body::Moon ? earth.barycentric[1][i] : 0);
    }
}

double lightDays(const double target[3], const eraASTROM& astrom)
{
    double p[3];
    eraPmp(const_cast<double*>(target), const_cast<double*>(astrom.eb), p);
    return eraPm(p) * auLightDays;
}

} // namespace

std::optional<Body> bodyNamed(const std::string& name)
{
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (size_t i = 1; i < std::size(names); ++i) {
        if (lower == names[i])
            return static_cast<Body>(i);
    }
    return std::nullopt;
}

const char* bodyName(Body body)
{
    return names[static_cast<size_t>(body)];
}

double refraction(double trueAltitude)
{
    const double h = std::max(trueAltitude, -1.0);
    const double r = 1.02 / std::tan((h + 10.3 / (h + 5.11)) / degreesPerRadian) / 60;
    // The formula fails below the horizon; there it fades to nothing at the nadir.
    return trueAltitude < -1 ? r * (trueAltitude + 90) / 89 : r;
}

Sky skyOver(const Site& site, Instant from, Instant to)
{
    Sky sky{site, EarthTable(from, to), {}};
    const double first = terrestrialTime(from) - earliestLightDays;
    const double last = terrestrialTime(to);
    for (int b = static_cast<int>(Body::Moon); b <= static_cast<int>(Body::Neptune); ++b) {
        sky.bodies[static_cast<size_t>(b)] = Tabulated(
            bodyFigures, b, 6, b == static_cast<int>(Body::Moon) ? moonNodeDays : planetNodeDays,
            first, last);
    }
    return sky;
}

Frame frameAt(const Sky& sky, Instant instant)
{
    Frame frame;
    frame.instant = instant;
    const double ut = julianDateUt(instant) - ERFA_DJ00;
    frame.tt = terrestrialTime(instant);
    frame.earth = sky.earth.at(frame.tt);
    EarthState& e = frame.earth;
    const Site& site = sky.site;
    // No polar motion, and refraction is added afterwards by the almanac's rule.
    eraApco(ERFA_DJ00, frame.tt, e.barycentric, e.heliocentric, e.x, e.y, e.s,
            eraEra00(ERFA_DJ00, ut), site.longitude / degreesPerRadian,
            site.latitude / degreesPerRadian, site.height, 0, 0, eraSp00(ERFA_DJ00, frame.tt), 0, 0,
            &frame.astrom);
    return frame;
}

Place placeOf(Body body, const Sky& sky, const Frame& frame)
{
    eraASTROM astrom = frame.astrom; // ERFA takes it unqualified, though it only reads it
    // Where the body was when the light now arriving left it. The light time to where it is now
    // and then to where that puts it, back along its velocity, come within a tenth of a
    // millisecond of the light time to the place the model gives for that moment; the model is
    // asked once more, for the place at the light time found.
    double now[2][3];
    barycentric(body, sky, frame, 0, now);
    const double first = lightDays(now[0], astrom);
    double earlier[3];
    for (int i = 0; i < 3; ++i)
        earlier[i] = now[0][i] - now[1][i] * first;
    double then[2][3];
    barycentric(body, sky, frame, -lightDays(earlier, astrom), then);
    double p[3];
    eraPmp(then[0], astrom.eb, p);
    const double distance = eraPm(p);
    double natural[3];
    double aberrated[3];
    double cirs[3];
    eraSxp(1 / distance, p, natural);
    eraAb(natural, astrom.v, astrom.em, astrom.bm1, aberrated);
    eraRxp(astrom.bpn, aberrated, cirs);
    double ra = 0, dec = 0;
    eraC2s(cirs, &ra, &dec);
    double azimuth = 0, zenith = 0, hourAngle = 0, observedDec = 0, observedRa = 0;
    eraAtioq(eraAnp(ra), dec, &astrom, &azimuth, &zenith, &hourAngle, &observedDec, &observedRa);

    Place place;
    place.trueAltitude = 90 - zenith * degreesPerRadian;
    place.altitude = place.trueAltitude + refraction(place.trueAltitude);
    place.azimuth = eraAnp(azimuth) * degreesPerRadian;
    place.hourAngle = eraAnpm(hourAngle);
    place.distance = distance;
    const EarthState& earth = frame.earth;
    double fromSun[3], toSite[3];
    for (int i = 0; i < 3; ++i) {
        fromSun[i] = then[0][i] - (earth.barycentric[0][i] - earth.heliocentric[i]);
        toSite[i] = -p[i];
    }
    place.sunDistance = eraPm(fromSun);
    double toSun[3];
    eraSxp(-1, fromSun, toSun);
    place.phaseAngle = body == Body::Sun ? 0 : eraSepp(toSun, toSite) * degreesPerRadian;
    if (body == Body::Saturn || body == Body::Uranus) {
        // The pole's right ascension and declination by the IAU working group (2015), in the
        // ICRS that the positions are in, with centuries from J2000.0.
        const double t = frame.tt / 36525;
        const double ra = body == Body::Saturn ? 40.589 - 0.036 * t : 257.311;
        const double dec = body == Body::Saturn ? 83.537 - 0.004 * t : -15.175;
        double pole[3];
        eraS2c(ra / degreesPerRadian, dec / degreesPerRadian, pole);
        place.poleLatitude = 90 - eraSepp(pole, toSite) * degreesPerRadian;
        place.sunPoleLatitude = 90 - eraSepp(pole, toSun) * degreesPerRadian;
    }
    if (body == Body::Sun)
        place.semiDiameter = sunSemiDiameterAtOneAu / distance;
    else if (body == Body::Moon)
        place.semiDiameter = std::asin(moonRadiusAu / distance) * degreesPerRadian;
    return place;
}

namespace {

// From the Moon: the way to the Sun and the way to the Earth; the angle between them.
double phaseAngleOf(const double moon[3], const double earthHeliocentric[3])
{
    double toSun[3], toEarth[3];
    for (int i = 0; i < 3; ++i) {
        toSun[i] = -earthHeliocentric[i] - moon[i];
        toEarth[i] = -moon[i];
    }
    return eraSepp(toSun, toEarth) * degreesPerRadian;
}

} // namespace

double moonPhaseAngle(Instant instant)
{
    const double tt = terrestrialTime(instant);
    double earthHelio[2][3], earthBary[2][3], moon[2][3];
    eraEpv00(ERFA_DJ00, tt, earthHelio, earthBary);
    eraMoon98(ERFA_DJ00, tt, moon);
    return phaseAngleOf(moon[0], earthHelio[0]);
}

double moonPhaseAngle(const Sky& sky, const Frame& frame)
{
    double moon[2][3];
    barycentric(Body::Moon, sky, frame, 0, moon);
    for (int i = 0; i < 3; ++i)
        moon[0][i] -= frame.earth.barycentric[0][i];
    return phaseAngleOf(moon[0], frame.earth.heliocentric);
}

double moonIlluminated(Instant instant)
{
    return litFraction(moonPhaseAngle(instant));
}

} // namespace vellmore::sky
