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
    bool overflow;
};

class ParseNumber : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(ParseNumber, ReadsTheNumberAtTheStart)
{
    const ParseCase& c = GetParam();
    const ParsedNumber got = parseNumber(c.text);
    EXPECT_EQ(got.overflow, c.overflow) << '"' << c.text << '"';
    if (!c.overflow) {
        EXPECT_EQ(got.value, c.value) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumber,
    ::testing::Values(
        ParseCase{"    1615 198th Street N.E.", 1615198, false}, ParseCase{" 2 45 7", 2457, false},
        ParseCase{"24 and 57", 24, false}, ParseCase{" 14 1.825 miles", 141.825, false},
        ParseCase{"1.2.3", 1.2, false}, ParseCase{"12D3abc", 12000, false},
        ParseCase{"abc", 0, false}, ParseCase{"", 0, false}, ParseCase{"-", 0, false},
        ParseCase{".", 0, false}, ParseCase{"\t1\r\n4\n2\r0", 1420, false},
        ParseCase{"-40", -40, false}, ParseCase{"+ 5", 5, false}, ParseCase{"--5", 0, false},
        ParseCase{".5", 0.5, false}, ParseCase{"-.5e1", -5, false}, ParseCase{"1e-2", 0.01, false},
        ParseCase{"2.5d+2", 250, false}, ParseCase{"12E", 12, false}, ParseCase{"12e+x", 12, false},
        ParseCase{"1 e 3", 1000, false}, ParseCase{"13,6", 13, false},
        ParseCase{"50 mm", 50, false}, ParseCase{"0.1", 0.1, false},
        ParseCase{"000123.4500", 123.45, false},
        // Texts the C library would take as numbers are not numbers here.
        ParseCase{"nan", 0, false}, ParseCase{"inf", 0, false}, ParseCase{"infinity", 0, false},
        ParseCase{"0x1p3", 0, false}, ParseCase{"&H10", 0, false},
        // The range of a double.
        ParseCase{"1e400", 0, true}, ParseCase{"-1e400", 0, true},
        ParseCase{"1.7976931348623157e308", 1.7976931348623157e308, false},
        ParseCase{"1.8e308", 0, true}, ParseCase{"1e99999999999999999999", 0, true},
        ParseCase{"1e-320", 1e-320, false}, ParseCase{"1e-400", 0, false},
        ParseCase{"0e999999", 0, false}, ParseCase{"1e-99999999999999999999", 0, false}));

TEST(ParseNumberRounding, IsCorrectlyRoundedForLongDigitStrings)
{
    // 10 000 digits: the value of 0.333... must round to the nearest double.
    EXPECT_EQ(parseNumber("0." + std::string(10000, '3')).value, 1.0 / 3.0);
    EXPECT_EQ(parseNumber(std::string(10000, ' ') + "7").value, 7);
    // Halfway between two doubles, decided only by a digit far beyond the first 800.
    const std::string half = "9007199254740993" + std::string(1000, '0');
    EXPECT_EQ(parseNumber(half + "e-1000").value, 9007199254740992.0);
    EXPECT_EQ(parseNumber(half + "1e-1001").value, 9007199254740994.0);
}

TEST(ParseNumberRounding, KeepsTheSignOfNegativeZero)
{
    EXPECT_TRUE(std::signbit(parseNumber("-0").value));
    EXPECT_FALSE(std::signbit(parseNumber("0").value));
}

} // namespace
} // namespace vellmore::platform
