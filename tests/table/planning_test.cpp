#include "table/planning.h"
#include "table/shutter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vellmore::table {
namespace {

// The checks that come with the formulas: Kasten and Young's air mass, the extinction factor,
// and the default optics (system focal length 50 x 1420 / 19 mm) with 3.75 um pixels and a
// 4.8 x 3.6 mm sensor.
TEST(Planning, MatchesTheFormulasWorkedByHand)
{
    EXPECT_NEAR(airMass(90), 0.9997, 0.00005);
    EXPECT_NEAR(airMass(30), 1.994, 0.0005);
    EXPECT_NEAR(airMass(10), 5.586, 0.0005);
    EXPECT_NEAR(extinctionFactor(airMass(30), 0.25), 1.2573, 0.00005);
    EXPECT_EQ(extinctionFactor(airMass(10), 0), 1) << "clear air dims nothing";
    const double systemFL = 50 * 1420.0 / 19;
    EXPECT_NEAR(imageScale(3.75, systemFL), 0.207, 0.0005);
    EXPECT_NEAR(fieldOfView(4.8, systemFL), 4.42, 0.005);
    EXPECT_NEAR(fieldOfView(3.6, systemFL), 3.31, 0.005);
    EXPECT_NEAR(fieldOfView(20, 10), 5400, 1e-9) << "a right angle: 2 atan(1), not 20 / 10";
}

TEST(Planning, BracketsTheChosenSpeedOnTheFullStopScale)
{
    using Speeds = std::vector<std::string>;
    // clang-format off
    const struct { double seconds; int stops; Speeds bracket; } cases[] = {
        {0.125, 1, {"1/15", "1/4"}}, {0.125, 3, {"1/60", "1/30", "1/15", "1/4", "1/2", "1"}},
        {1.0 / 8000, 2, {"1/4000", "1/2000"}}, {1.0 / 4000, 1, {"1/8000", "1/2000"}},
        {30, 3, {"4", "8", "15"}}, {15, 1, {"8", "30"}}, {60, 1, {}}, {1.0 / 9000, 0, {}}, {1e-5, 1, {}}, // no speed, no bracket
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(bracketSpeeds(nearestShutter(c.seconds), c.stops), c.bracket) << c.seconds;
}

TEST(NearestShutter, ChoosesBySmallestDifferenceInStops)
{
    const double halfStop = std::sqrt(2.0);
    const double halfStopAbove8th = 0.125 * halfStop;
    // choice: the label and, for a speed, the signed offset in stops. Each end of the scale takes
    // what lies within half a stop of it, like every other speed.
    // clang-format off
    const struct { double seconds; const char* choice; } cases[] = {
        {0.14425608388086358, "1/8 +0.2"}, {0.125, "1/8 +0.0"}, {1.0 / 60, "1/60 +0.0"}, {10.9, "8 +0.4"},
        {halfStopAbove8th * 0.999, "1/8 +0.5"}, {halfStopAbove8th * 1.001, "1/4 -0.5"}, {22, "30 -0.4"},
        {30, "30 +0.0"}, {30.0006, "30 +0.0"}, {30 * halfStop, "30 +0.5"}, {30 * halfStop * 1.001, "bulb"},
        {1.0 / 8000, "1/8000 +0.0"}, {1.0 / 8200, "1/8000 +0.0"}, {1.0 / 8000 / halfStop, "1/8000 -0.5"},
        {1.0 / 8000 / halfStop * 0.999, "faster than 1/8000"}, {0, "none"}, {-0.5, "none"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ShutterChoice got = nearestShutter(c.seconds);
        const bool speed = got.kind == ShutterChoice::Kind::Speed;
        EXPECT_EQ(got.label + (speed ? " " + offsetText(got.offsetStops) : ""), c.choice)
            << c.seconds;
    }
    EXPECT_EQ(offsetText(-0.04), "+0.0") << "no minus on a zero offset";
}

TEST(NearestShutter, EveryFullStopSpeedIsChosenForItsOwnExposure)
{
    // clang-format off
    const struct { double seconds; const char* label; } scale[] = {
        {1.0 / 8000, "1/8000"}, {1.0 / 4000, "1/4000"}, {1.0 / 2000, "1/2000"}, {1.0 / 1000, "1/1000"},
        {1.0 / 500, "1/500"}, {1.0 / 250, "1/250"}, {1.0 / 125, "1/125"}, {1.0 / 60, "1/60"}, {1.0 / 30, "1/30"},
        {1.0 / 15, "1/15"}, {0.125, "1/8"}, {0.25, "1/4"}, {0.5, "1/2"}, {1, "1"}, {2, "2"}, {4, "4"}, {8, "8"},
        {15, "15"}, {30, "30"},
    };
    // clang-format on
    for (const auto& speed : scale) {
        const ShutterChoice got = nearestShutter(speed.seconds);
        EXPECT_EQ(got.label, speed.label);
        EXPECT_EQ(got.offsetStops, 0) << speed.label << " is off by a fraction of a stop";
    }
}

} // namespace
} // namespace vellmore::table
