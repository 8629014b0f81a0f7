#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace vellmore::platform {
namespace {

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

TEST(NumberText, IgnoresACommaDecimalLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "German_Germany.1252"))
        GTEST_SKIP() << "no German locale is installed; generate de_DE.UTF-8 to test under it";
    EXPECT_EQ(parseNumber("13.6").value, 13.6);
    EXPECT_EQ(parseNumber("13,6").value, 13);
    EXPECT_EQ(formatPattern(3736.842, 2), "3736.84");
    EXPECT_EQ(formatGeneral(13.6), "13.6");
    EXPECT_EQ(formatSignedTrimmed(0.5), ".5");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace vellmore::platform
