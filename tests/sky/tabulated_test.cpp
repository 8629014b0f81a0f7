// The tabulated sky against the full models it stands in for.
#include "sky/events.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vellmore::sky {
namespace {

constexpr double masPerRadian = 180 / ERFA_DPI * 3600e3;
constexpr double mmPerSecondPerAuPerDay = ERFA_DAU / ERFA_DAYSEC * 1e3;

double distance(const double a[3], const double b[3])
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The worst the tables do across 26-hour spans from 1900 to 2100, each sampled every 7 minutes:
// X and Y of the pole within 1 mas, the Earth's velocity within 0.1 mm/s, and every body's
// direction from the Earth within 1 mas.
TEST(Tabulated, StaysWithinItsBoundsOf26HourSpansFrom1900To2100)
{
    // Mercury, the quickest to turn, passes between the Sun and the Earth on 1973-11-10,
    // 2019-11-11 and 2032-11-13.
    const Date starts[] = {{1900, 1, 1}, {1931, 5, 17},  {1969, 7, 20}, {1973, 11, 10},
                           {2000, 1, 1}, {2019, 11, 11}, {2026, 12, 7}, {2032, 11, 13},
                           {2051, 3, 3}, {2077, 9, 30},  {2099, 12, 30}};
    double pole = 0, velocity = 0, moon = 0, planets = 0, phase = 0;
    for (const Date& start : starts) {
        const Instant from = instantOf(start, 0, 0) + 0.37 * secondsPerDay;
        const Instant to = from + 26 * 3600;
        const Sky sky = skyOver({}, from, to);
        for (Instant t = from; t <= to; t += 7 * 60) {
            const double tt = terrestrialTime(t);
            phase = std::max(phase,
                             std::fabs(moonPhaseAngle(sky, frameAt(sky, t)) - moonPhaseAngle(t)));
            const EarthState got = sky.earth.at(tt);
            const EarthState full = earthStateAt(tt);
            pole = std::max({pole, std::fabs(got.x - full.x) * masPerRadian,
                             std::fabs(got.y - full.y) * masPerRadian});
            velocity = std::max(velocity, distance(got.barycentric[1], full.barycentric[1]) *
                                              mmPerSecondPerAuPerDay);
            double pv[2][3], model[2][3];
            sky.bodies[static_cast<size_t>(Body::Moon)].at(tt, &pv[0][0]);
            eraMoon98(ERFA_DJ00, tt, model);
            moon = std::max(moon, distance(pv[0], model[0]) / eraPm(model[0]) * masPerRadian);
            for (int planet = 1; planet <= 8; ++planet) {
                if (planet == 3)
                    continue; // the Earth-Moon barycentre: no body of ours
                const int body = static_cast<int>(Body::Mercury) + planet - (planet > 3 ? 2 : 1);
                sky.bodies[static_cast<size_t>(body)].at(tt, &pv[0][0]);
                eraPlan94(ERFA_DJ00, tt, planet, model);
                const double away = distance(model[0], full.heliocentric);
                planets = std::max(planets, distance(pv[0], model[0]) / away * masPerRadian);
            }
        }
    }
    EXPECT_LE(pole, 1.0);
    EXPECT_LE(velocity, 0.1);
    EXPECT_LE(moon, 1.0);
    EXPECT_LE(planets, 1.0);
    EXPECT_LE(phase, 1e-6) << "the Moon's phase angle from the tables, in degrees";
}

void cubic(double t, int which, double* out)
{
    out[0] = ((2 * t - 3) * t + which) * t - 7;
}

void wave(double t, int, double* out)
{
    out[0] = std::sin(t);
}

TEST(Tabulated, IsExactForACubicAndAsksTheModelOutsideItsSpan)
{
    const Tabulated table(cubic, 5, 1, 0.25, 10, 12);
    const Tabulated waves(wave, 0, 1, 0.25, 10, 12);
    for (const double t : {10.0, 10.1, 11.3, 12.0}) {
        double got = 0, want = 0;
        table.at(t, &got);
        cubic(t, 5, &want);
        EXPECT_NEAR(got, want, 1e-9) << t;
    }
    for (const double t : {9.0, 9.8, 12.4, 30.0}) {
        double got = 0;
        waves.at(t, &got);
        EXPECT_EQ(got, std::sin(t)) << t;
    }
}

// Sunrise after sunset is looked for alone and the search stops there; it must find what the
// whole search of the same span finds, to the same second.
TEST(Tabulated, FirstRiseIsTheRiseTheWholeSearchFinds)
{
    const std::pair<Site, Date> nights[] = {{{51.4769, -0.0005, 46}, {2026, 12, 7}},
                                            {{-33.8688, 151.2093, 58}, {1900, 3, 15}},
                                            {{78.2232, 15.6267, 10}, {2026, 12, 21}},
                                            {{69.6492, 18.9553, 10}, {2026, 6, 21}}};
    for (const auto& [site, date] : nights) {
        const Instant from = instantOf(date, 18 * 60, 0);
        const Sky sky = skyOver(site, from, from + 2 * secondsPerDay);
        for (const Body body : {Body::Sun, Body::Moon, Body::Venus}) {
            const auto whole = eventsOf(body, sky, searchGrid(sky, from, 24)).rise;
            EXPECT_EQ(firstRise(body, sky, from, 24), whole) << bodyName(body) << " " << date.year;
        }
    }
}

} // namespace
} // namespace vellmore::sky
