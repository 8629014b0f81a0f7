#include "table/shutter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vellmore::table {
namespace {

TEST(NearestShutter, ChoosesBySmallestDifferenceInStops)
{
    const double halfStopAbove8th = 0.125 * std::sqrt(2.0);
    const struct
    {
        double seconds;
        const char* choice; // the label and, for a speed, the signed offset in stops
    } cases[] = {
        {0.14425608388086358, "1/8 +0.2"},
        {0.125, "1/8 +0.0"},
        {1.0 / 60, "1/60 +0.0"},
        {halfStopAbove8th * 0.999, "1/8 +0.5"},
        {halfStopAbove8th * 1.001, "1/4 -0.5"},
        {10.9, "8 +0.4"},
        {22, "30 -0.4"},
        {30, "30 +0.0"},
        {30.000001, "bulb"},
        {1.0 / 8000, "1/8000 +0.0"},
        {1.0 / 8000 * 0.999999, "faster than 1/8000"},
        {0, "none"},
        {-0.5, "none"},
    };
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
    const char* const scale[] = {"1/8000", "1/4000", "1/2000", "1/1000", "1/500", "1/250", "1/125",
                                 "1/60",   "1/30",   "1/15",   "1/8",    "1/4",   "1/2",   "1",
                                 "2",      "4",      "8",      "15",     "30"};
    for (const std::string speed : scale) {
        const double seconds =
            speed.rfind("1/", 0) == 0 ? 1.0 / std::stod(speed.substr(2)) : std::stod(speed);
        const ShutterChoice got = nearestShutter(seconds);
        EXPECT_EQ(got.label + " " + offsetText(got.offsetStops), speed + " +0.0");
    }
}

} // namespace
} // namespace vellmore::table
