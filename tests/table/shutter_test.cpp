#include "table/shutter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vellmore::table {
namespace {

struct ShutterCase
{
    double seconds;
    const char* label;
    const char* offset; // "" where no speed applies
};

class NearestShutter : public ::testing::TestWithParam<ShutterCase>
{};

TEST_P(NearestShutter, ChoosesBySmallestDifferenceInStops)
{
    const ShutterCase& c = GetParam();
    const ShutterChoice got = nearestShutter(c.seconds);
    EXPECT_EQ(got.label, c.label) << c.seconds;
    const bool speed = got.kind == ShutterChoice::Kind::Speed;
    EXPECT_EQ(speed ? offsetText(got.offsetStops) : "", c.offset) << c.seconds;
}

const double halfStop = std::sqrt(2.0);

INSTANTIATE_TEST_SUITE_P(
    Exposures, NearestShutter,
    ::testing::Values(ShutterCase{0.14425608388086358, "1/8", "+0.2"},
                      ShutterCase{0.125, "1/8", "+0.0"}, ShutterCase{30, "30", "+0.0"},
                      ShutterCase{30.000001, "bulb", ""}, ShutterCase{1.0 / 8000, "1/8000", "+0.0"},
                      ShutterCase{1.0 / 8000 * 0.999999, "faster than 1/8000", ""},
                      // Just either side of the half-stop point between 1/8 and 1/4.
                      ShutterCase{0.125 * halfStop * 0.999, "1/8", "+0.5"},
                      ShutterCase{0.125 * halfStop * 1.001, "1/4", "-0.5"},
                      // 15 s sits 0.9 stops from 8 s and 1 stop from 30 s.
                      ShutterCase{10.9, "8", "+0.4"}, ShutterCase{22, "30", "-0.4"},
                      ShutterCase{1.0 / 60, "1/60", "+0.0"}, ShutterCase{0, "none", ""},
                      ShutterCase{-0.5, "none", ""}));

TEST(OffsetText, AlwaysSignedToOneDecimal)
{
    EXPECT_EQ(offsetText(0.2067), "+0.2");
    EXPECT_EQ(offsetText(-0.2083), "-0.2");
    EXPECT_EQ(offsetText(-0.04), "+0.0");
    EXPECT_EQ(offsetText(0.45), "+0.5");
}

} // namespace
} // namespace vellmore::table
