#include "platform/doublechars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace vellmore::platform {
namespace {

using F = std::chars_format;

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

// Where the standard library has them for doubles, the texts are its texts, byte for byte, in
// every form and precision (fixed or exponent by length, whole numbers exactly, halves to even).
TEST(DoubleChars, AgreesWithTheStandardLibraryOnRandomDoubles)
{
    std::mt19937_64 random(7);
    // The edges first: signed zeros, the least and greatest doubles, a tie, 1e23 (no double:
    // fixed, the integer below it, exactly), infinities and NaN.
    const double edges[] = {0.0,  -0.0,      5e-324, 1.7976931348623157e308, 2.675, 0.125,
                            1e23, -INFINITY, NAN};
    for (int i = -static_cast<int>(std::size(edges)); i < 20000; ++i) {
        const auto bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (i < 0)
            value = edges[i + static_cast<int>(std::size(edges))];
        else if (i % 2)
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
