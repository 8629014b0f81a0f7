#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace vellmore::platform {
namespace {

struct PatternCase
{
    double value;
    int decimals;
    const char* text;
};

class FormatPattern : public ::testing::TestWithParam<PatternCase>
{};

TEST_P(FormatPattern, PrintsFixedDecimals)
{
    const PatternCase& c = GetParam();
    EXPECT_EQ(formatPattern(c.value, c.decimals), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatPattern,
    ::testing::Values(
        PatternCase{1420.0 / 19, 2, "74.74"}, PatternCase{3736.842105263158, 2, "3736.84"},
        PatternCase{0.0721322, 5, "0.07213"}, PatternCase{125.245, 2, "125.25"},
        PatternCase{1.005, 2, "1.01"}, PatternCase{2.675, 2, "2.68"},
        PatternCase{-1.005, 2, "-1.01"}, PatternCase{1e20, 2, "100000000000000000000.00"},
        PatternCase{0, 2, "0.00"}, PatternCase{-0.0, 5, "0.00000"}, PatternCase{-0.001, 2, "0.00"},
        PatternCase{-0.005, 2, "-0.01"}, PatternCase{0.004999, 2, "0.00"}, PatternCase{0.5, 0, "1"},
        PatternCase{99.999, 2, "100.00"}, PatternCase{9.999995, 5, "10.00000"},
        PatternCase{0.000004, 5, "0.00000"}, PatternCase{0.000005, 5, "0.00001"},
        PatternCase{1234567.5, 2, "1234567.50"}, PatternCase{1e-300, 2, "0.00"},
        PatternCase{123456789012345678.0, 2, "123456789012346000.00"}));

struct GeneralCase
{
    double value;
    const char* general;
    const char* signedTrimmed;
};

class FormatGeneral : public ::testing::TestWithParam<GeneralCase>
{};

TEST_P(FormatGeneral, PrintsFifteenSignificantDigits)
{
    const GeneralCase& c = GetParam();
    EXPECT_EQ(formatGeneral(c.value), c.general) << c.value;
    EXPECT_EQ(formatSignedTrimmed(c.value), c.signedTrimmed) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneral,
    ::testing::Values(
        GeneralCase{40, "40", "40"}, GeneralCase{13.6, "13.6", "13.6"},
        GeneralCase{1310, "1310", "1310"}, GeneralCase{0.56789, "0.56789", ".56789"},
        GeneralCase{5.6789e-5, "0.000056789", ".000056789"},
        GeneralCase{5.6789e-12, "5.6789E-12", "5.6789E-12"},
        GeneralCase{999999999999999, "999999999999999", "999999999999999"},
        GeneralCase{1e15, "1E+15", "1E+15"}, GeneralCase{1.2e15, "1.2E+15", "1.2E+15"},
        GeneralCase{3.14159265358979323846, "3.14159265358979", "3.14159265358979"},
        GeneralCase{0.5, "0.5", ".5"}, GeneralCase{-0.5, "-0.5", "-.5"},
        GeneralCase{-0.0, "0", "0"}, GeneralCase{0, "0", "0"}, GeneralCase{-1310, "-1310", "-1310"},
        GeneralCase{0.1 + 0.2, "0.3", ".3"},
        GeneralCase{1e-15, "0.000000000000001", ".000000000000001"},
        GeneralCase{1.5e-15, "1.5E-15", "1.5E-15"}, GeneralCase{1e300, "1E+300", "1E+300"},
        GeneralCase{-2.5e-20, "-2.5E-20", "-2.5E-20"},
        GeneralCase{std::numeric_limits<double>::max(), "1.79769313486231E+308",
                    "1.79769313486231E+308"},
        GeneralCase{-1.7976931348623e308, "-1.7976931348623E+308", "-1.7976931348623E+308"}));

TEST(NumberText, RoundTripsThroughTheParserToFifteenDigits)
{
    const double values[] = {1.0 / 3, 2.0 / 3, 1e-7, 123456.789012345, 6.02214076e23, 1e-310};
    for (const double value : values) {
        const double back = parseNumber(formatGeneral(value)).value;
        EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << formatGeneral(value);
    }
}

TEST(NumberText, IgnoresACommaDecimalLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "German_Germany.1252"))
        GTEST_SKIP() << "no German locale is installed; generate de_DE.UTF-8 to test under it";
    EXPECT_EQ(parseNumber("13.6").value, 13.6);
    EXPECT_EQ(parseNumber("13,6").value, 13);
    EXPECT_EQ(formatPattern(3736.842, 2), "3736.84");
    EXPECT_EQ(formatGeneral(13.6), "13.6");
    EXPECT_EQ(formatSignedTrimmed(0.5), ".5");
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberText, NonFiniteValuesHaveAText)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatPattern(inf, 2), "Infinity");
    EXPECT_EQ(formatGeneral(-inf), "-Infinity");
    EXPECT_EQ(formatGeneral(std::nan("")), "NaN");
}

} // namespace
} // namespace vellmore::platform
