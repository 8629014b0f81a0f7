#include "table/planning.h"
#include "table/shutter.h"

#include <gtest/gtest.h>

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
}

TEST(Planning, BracketsTheChosenSpeedOnTheFullStopScale)
{
    using Speeds = std::vector<std::string>;
    const struct
    {
        double seconds;
        int stops;
        Speeds bracket;
    } cases[] = {
        {0.125, 1, {"1/15", "1/4"}},
        {0.125, 3, {"1/60", "1/30", "1/15", "1/4", "1/2", "1"}},
        {1.0 / 8000, 2, {"1/4000", "1/2000"}},
        {30, 3, {"4", "8", "15"}},
        {60, 1, {}}, // bulb: no speed to bracket
    };
    for (const auto& c : cases)
        EXPECT_EQ(bracketSpeeds(nearestShutter(c.seconds), c.stops), c.bracket) << c.seconds;
}

} // namespace
} // namespace vellmore::table
