#include "platform/doublechars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace vellmore::platform {
namespace {

using F = std::chars_format;

std::string written(double value, F format, int precision = -1)
{
    char text[400];
    const auto res = precision < 0 && format == F::general ? toChars(text, text + 400, value)
                     : precision < 0 ? toChars(text, text + 400, value, format)
                                     : toChars(text, text + 400, value, format, precision);
    return res.ec == std::errc() ? std::string(text, res.ptr) : "too large";
}

TEST(DoubleChars, WritesTheShorterFormOrTheGivenOne)
{
    // 1e23 is no double: the nearest is the integer below; a whole number is written exactly.
    const std::tuple<double, F, int, const char*> cases[] = {
        {1e-4, F::general, -1, "1e-04"},
        {123456, F::general, -1, "123456"},
        {1e15, F::general, -1, "1e+15"},
        {1.2345678901234568e20, F::general, -1, "123456789012345683968"},
        {1e23, F::general, -1, "1e+23"},
        {1e23, F::fixed, -1, "99999999999999991611392"},
        {-0.0, F::general, -1, "-0"},
        {0.0, F::scientific, -1, "0e+00"},
        {0.1 + 0.2, F::scientific, -1, "3.0000000000000004e-01"},
        {5e-324, F::scientific, -1, "5e-324"},
        {1.25e-5, F::fixed, -1, "0.0000125"},
        {-INFINITY, F::general, -1, "-inf"},
        {NAN, F::fixed, 3, "nan"},
        {2.675, F::fixed, 2, "2.67"}, // 2.67499999999999982236431605997495353221893310546875
        {0.125, F::fixed, 2, "0.12"}, // exactly half: to even
        {1.0 / 3, F::scientific, 14, "3.33333333333333e-01"},
        {123456, F::general, 3, "1.23e+05"},
        {1e300, F::fixed, 100, "too large"},
    };
    for (const auto& [value, format, precision, text] : cases)
        EXPECT_EQ(written(value, format, precision), text) << text;
}

TEST(DoubleChars, ReadsTheNearestDoubleAndKeepsTheValueOutOfRange)
{
    constexpr double kept = 42;
    const double smallest = std::ldexp(1.0, -1074);
    const std::tuple<const char*, F, std::errc, size_t, double> cases[] = {
        {"1e400", F::general, std::errc::result_out_of_range, 5, kept},
        {"-1e400", F::general, std::errc::result_out_of_range, 6, kept},
        {"2e-324", F::general, std::errc::result_out_of_range, 6, kept}, // under half the least
        {"3e-324", F::general, std::errc(), 6, smallest},
        {"1e400", F::fixed, std::errc(), 1, 1},
        {"0e-999", F::general, std::errc(), 6, 0},
        {".5", F::fixed, std::errc(), 2, 0.5},
        {"-infinity", F::general, std::errc(), 9, -INFINITY},
        {"+1", F::general, std::errc::invalid_argument, 0, kept},
        {"1.5e5", F::scientific, std::errc(), 5, 1.5e5},
    };
    for (const auto& [text, format, ec, used, value] : cases) {
        double read = kept;
        const auto res = fromChars(text, text + std::strlen(text), read, format);
        EXPECT_EQ(res.ec, ec) << text;
        EXPECT_EQ(static_cast<size_t>(res.ptr - text), used) << text;
        EXPECT_EQ(read, value) << text;
    }
}

// Where the standard library has them for doubles, the texts are its texts, byte for byte.
TEST(DoubleChars, AgreesWithTheStandardLibraryOnRandomDoubles)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (i % 2)
            value = static_cast<double>(bits % 100000000) / std::pow(10.0, bits % 11);
        char ours[400], theirs[400];
        for (const F format : {F::general, F::fixed, F::scientific}) {
            const auto a = format == F::general ? toChars(ours, ours + 400, value)
                                                : toChars(ours, ours + 400, value, format);
            const auto b = format == F::general
                               ? std::to_chars(theirs, theirs + 400, value)
                               : std::to_chars(theirs, theirs + 400, value, format);
            ASSERT_EQ(std::string(ours, a.ptr), std::string(theirs, b.ptr));
            const int places = static_cast<int>(bits % 18);
            const auto c = toChars(ours, ours + 400, value, format, places);
            const auto d = std::to_chars(theirs, theirs + 400, value, format, places);
            ASSERT_EQ(std::string(ours, c.ptr), std::string(theirs, d.ptr));
            double back = 0, stdBack = 0;
            const auto e = fromChars(ours, c.ptr, back, format);
            const auto f = std::from_chars(theirs, d.ptr, stdBack, format);
            ASSERT_EQ(e.ec, f.ec);
            ASSERT_EQ(e.ptr - ours, f.ptr - theirs);
            ASSERT_TRUE(back == stdBack || std::isnan(back)) << ours;
        }
    }
}

} // namespace
} // namespace vellmore::platform
