#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

struct PatternCase
{
    double value;
    const char* twoDecimals;
    const char* fiveDecimals;
};

TEST(FormatPattern, RoundsHalfAwayFromZeroOnFifteenDigits)
{
    // clang-format off
    const PatternCase cases[] = {
        {1420.0 / 19, "74.74", "74.73684"}, {125.245, "125.25", "125.24500"}, {1.005, "1.01", "1.00500"},
        {-1.005, "-1.01", "-1.00500"}, {2.675, "2.68", "2.67500"}, {1e20, "100000000000000000000.00", "100000000000000000000.00000"},
        {0, "0.00", "0.00000"}, {-0.0, "0.00", "0.00000"}, {-0.001, "0.00", "-0.00100"}, {-0.005, "-0.01", "-0.00500"},
        {99.999, "100.00", "99.99900"}, {9.999995, "10.00", "10.00000"}, {0.000005, "0.00", "0.00001"},
        {0.0721322, "0.07", "0.07213"}, {1e-300, "0.00", "0.00000"}, {123456789012345678.0, "123456789012346000.00", "123456789012346000.00000"},
    };
    // clang-format on
    for (const PatternCase& c : cases) {
        EXPECT_EQ(formatPattern(c.value, 2), c.twoDecimals) << c.value;
        EXPECT_EQ(formatPattern(c.value, 5), c.fiveDecimals) << c.value;
    }
}

struct GeneralCase
{
    double value;
    const char* general;
    const char* signedTrimmed;
};

TEST(FormatGeneral, PrintsUpToFifteenSignificantDigits)
{
    // clang-format off
    const GeneralCase cases[] = {
        {40, "40", "40"}, {13.6, "13.6", "13.6"}, {1310, "1310", "1310"}, {0.5, "0.5", ".5"}, {-0.5, "-0.5", "-.5"},
        {0.56789, "0.56789", ".56789"}, {5.6789e-5, "0.000056789", ".000056789"}, {5.6789e-12, "5.6789E-12", "5.6789E-12"},
        {999999999999999, "999999999999999", "999999999999999"}, {1e15, "1E+15", "1E+15"}, {1.2e15, "1.2E+15", "1.2E+15"},
        {3.14159265358979323846, "3.14159265358979", "3.14159265358979"}, {-0.0, "0", "0"}, {0.1 + 0.2, "0.3", ".3"},
        {1e-15, "0.000000000000001", ".000000000000001"}, {1.5e-15, "1.5E-15", "1.5E-15"}, {-2.5e-20, "-2.5E-20", "-2.5E-20"},
        {1.23456789e-9, "1.23456789E-09", "1.23456789E-09"}, {1.234567e-10, "1.234567E-10", "1.234567E-10"},
        {1.234567e-99, "1.234567E-99", "1.234567E-99"}, {1e99, "1E+99", "1E+99"}, {1e100, "1E+100", "1E+100"},
        // The largest doubles are cut, not rounded past the range, so their text reads back.
        {std::numeric_limits<double>::max(), "1.79769313486231E+308", "1.79769313486231E+308"},
    };
    // clang-format on
    for (const GeneralCase& c : cases) {
        EXPECT_EQ(formatGeneral(c.value), c.general) << c.value;
        EXPECT_EQ(formatSignedTrimmed(c.value), c.signedTrimmed) << c.value;
        EXPECT_FALSE(parseNumber(c.general).overflow) << c.general;
    }
}

} // namespace
} // namespace vellmore::platform
