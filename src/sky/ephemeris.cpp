#include "sky/ephemeris.h"

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

// TT and the ERFA context of the site at an instant; Julian dates are split at J2000.0.
struct Frame
{
    double tt = 0; // days from J2000.0, TT
    double earthBarycentric[2][3] = {};
    double earthHeliocentric[2][3] = {};
    eraASTROM astrom{};
};

Frame frameAt(const Site& site, Instant instant)
{
    Frame frame;
    const double ut = julianDateUt(instant) - ERFA_DJ00;
    frame.tt = ut + deltaT(instant) / ERFA_DAYSEC;
    eraEpv00(ERFA_DJ00, frame.tt, frame.earthHeliocentric, frame.earthBarycentric);
    double x = 0, y = 0, s = 0;
    eraXys06a(ERFA_DJ00, frame.tt, &x, &y, &s);
    // No polar motion, and refraction is added afterwards by the almanac's rule.
    eraApco(ERFA_DJ00, frame.tt, frame.earthBarycentric, frame.earthHeliocentric[0], x, y, s,
            eraEra00(ERFA_DJ00, ut), site.longitude / degreesPerRadian,
            site.latitude / degreesPerRadian, site.height, 0, 0, eraSp00(ERFA_DJ00, frame.tt), 0, 0,
            &frame.astrom);
    return frame;
}

// Plan94's numbers: Mercury 1, Venus 2, the Earth-Moon barycentre 3, Mars 4 ... Neptune 8.
int planetNumber(Body body)
{
    const int n = static_cast<int>(body) - static_cast<int>(Body::Mercury) + 1;
    return n >= 3 ? n + 1 : n;
}

// The body's barycentric position (au) at `tt` days from J2000.0, TT.
void barycentric(Body body, const Frame& frame, double tt, double out[3])
{
    const double back = tt - frame.tt; // days, for the Earth's own motion meanwhile
    double sun[3];
    for (int i = 0; i < 3; ++i)
        sun[i] = frame.earthBarycentric[0][i] - frame.earthHeliocentric[0][i];
    double pv[2][3] = {};
    switch (body) {
    case Body::Sun:
        std::copy(sun, sun + 3, out);
        return;
    case Body::Moon:
        eraMoon98(ERFA_DJ00, tt, pv);
        for (int i = 0; i < 3; ++i)
            out[i] = frame.earthBarycentric[0][i] + frame.earthBarycentric[1][i] * back + pv[0][i];
        return;
    default:
        eraPlan94(ERFA_DJ00, tt, planetNumber(body), pv);
        for (int i = 0; i < 3; ++i)
            out[i] = sun[i] + pv[0][i];
        return;
    }
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

Place placeOf(Body body, const Site& site, Instant instant)
{
    Frame frame = frameAt(site, instant);
    // Where the body was when the light now arriving left it.
    double target[3];
    double p[3] = {};
    double distance = 0;
    double lightTime = 0;
    for (int pass = 0; pass < 3; ++pass) {
        barycentric(body, frame, frame.tt - lightTime, target);
        eraPmp(target, frame.astrom.eb, p);
        distance = eraPm(p);
        lightTime = distance * auLightDays;
    }
    double natural[3];
    double aberrated[3];
    double cirs[3];
    eraSxp(1 / distance, p, natural);
    eraAb(natural, frame.astrom.v, frame.astrom.em, frame.astrom.bm1, aberrated);
    eraRxp(frame.astrom.bpn, aberrated, cirs);
    double ra = 0, dec = 0;
    eraC2s(cirs, &ra, &dec);
    double azimuth = 0, zenith = 0, hourAngle = 0, observedDec = 0, observedRa = 0;
    eraAtioq(eraAnp(ra), dec, &frame.astrom, &azimuth, &zenith, &hourAngle, &observedDec,
             &observedRa);

    Place place;
    place.trueAltitude = 90 - zenith * degreesPerRadian;
    place.altitude = place.trueAltitude + refraction(place.trueAltitude);
    place.azimuth = eraAnp(azimuth) * degreesPerRadian;
    place.hourAngle = eraAnpm(hourAngle);
    if (body == Body::Sun)
        place.semiDiameter = sunSemiDiameterAtOneAu / distance;
    else if (body == Body::Moon)
        place.semiDiameter = std::asin(moonRadiusAu / distance) * degreesPerRadian;
    return place;
}

double moonIlluminated(Instant instant)
{
    const double tt = julianDateUt(instant) - ERFA_DJ00 + deltaT(instant) / ERFA_DAYSEC;
    double earthHelio[2][3], earthBary[2][3], moon[2][3];
    eraEpv00(ERFA_DJ00, tt, earthHelio, earthBary);
    eraMoon98(ERFA_DJ00, tt, moon);
    // From the Moon: the way to the Sun and the way to the Earth; the phase angle between them.
    double toSun[3], toEarth[3];
    for (int i = 0; i < 3; ++i) {
        toSun[i] = -earthHelio[0][i] - moon[0][i];
        toEarth[i] = -moon[0][i];
    }
    const double phase = eraSepp(toSun, toEarth);
    return (1 + std::cos(phase)) / 2;
}

} // namespace vellmore::sky
