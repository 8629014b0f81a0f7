#include "platform/numberparse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vellmore::platform {
namespace {

struct ParseCase
{
    std::string text;
    double value;
    bool overflow = false;
};

class ParseNumber : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(ParseNumber, ReadsTheNumberAtTheStart)
{
    const ParseCase& c = GetParam();
    const ParsedNumber got = parseNumber(c.text);
    EXPECT_EQ(got.overflow, c.overflow) << '"' << c.text << '"';
    EXPECT_EQ(got.value, c.overflow ? 0 : c.value) << '"' << c.text << '"';
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ParseNumber, ::testing::Values(
    ParseCase{"    1615 198th Street N.E.", 1615198}, ParseCase{" 2 45 7", 2457}, ParseCase{"24 and 57", 24},
    ParseCase{" 14 1.825 miles", 141.825}, ParseCase{"1.2.3", 1.2}, ParseCase{"12D3abc", 12000},
    ParseCase{"abc", 0}, ParseCase{"", 0}, ParseCase{"-", 0}, ParseCase{".", 0}, ParseCase{"--5", 0},
    ParseCase{"\t1\r\n4\n2\r0", 1420}, ParseCase{"-40", -40}, ParseCase{"+ 5", 5}, ParseCase{"-.5e1", -5},
    ParseCase{"2.5d+2", 250}, ParseCase{"12E", 12}, ParseCase{"12e+x", 12}, ParseCase{"1 e 3", 1000},
    ParseCase{"13,6", 13}, ParseCase{"000123.4500", 123.45}, ParseCase{"0.1", 0.1},
    // Texts the C library would take as numbers are not numbers here.
    ParseCase{"nan", 0}, ParseCase{"inf", 0}, ParseCase{"infinity", 0}, ParseCase{"0x1p3", 0}, ParseCase{"&H10", 0},
    // The edges of the double range: too large is a fault, too small is 0.
    ParseCase{"1e400", 0, true}, ParseCase{"-1e400", 0, true}, ParseCase{"1.8e308", 0, true},
    ParseCase{"1e99999999999999999999", 0, true}, ParseCase{"1.7976931348623157e308", 1.7976931348623157e308},
    ParseCase{"1e-320", 1e-320}, ParseCase{"1e-400", 0}, ParseCase{"0e999999", 0}));
// clang-format on

TEST(ParseNumberRounding, IsCorrectlyRoundedWhateverTheLength)
{
    EXPECT_EQ(parseNumber("0." + std::string(10000, '3')).value, 1.0 / 3.0);
    EXPECT_EQ(parseNumber(std::string(10000, ' ') + "7").value, 7);
    // Halfway between two doubles, decided only by a digit far past the first 800.
    const std::string half = "9007199254740993" + std::string(1000, '0');
    EXPECT_EQ(parseNumber(half + "e-1000").value, 9007199254740992.0);
    EXPECT_EQ(parseNumber(half + "1e-1001").value, 9007199254740994.0);
    EXPECT_TRUE(std::signbit(parseNumber("-0").value));
}

} // namespace
} // namespace vellmore::platform
