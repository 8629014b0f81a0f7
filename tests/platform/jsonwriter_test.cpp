#include "platform/jsonwriter.h"
#include "platform/numberformat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

namespace vellmore::platform {
namespace {

TEST(JsonWriter, WritesTheShortestDigitsThatReadBack)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, const char*> cases[] = {
        {100, "100.0"},         {0.0125, "0.0125"},
        {0.222011, "0.222011"}, {1e-4, "0.0001"},
        {1e-5, "1e-05"},        {1.5e20, "1.5e+20"},
        {1e15, "1e+15"},        {123456789012345.0, "123456789012345.0"},
        {0.0, "0.0"},           {-0.0, "-0.0"},
        {-2.5, "-2.5"},         {1e100, "1e+100"},
        {5e-324, "5e-324"},     {0.1 + 0.2, "0.30000000000000004"},
        {nan, "null"},          {INFINITY, "null"},
    };
    for (const auto& [number, text] : cases)
        EXPECT_EQ(jsonNumber(number), text) << text;
}

TEST(JsonWriter, EscapesWhatJsonMustAndMendsBrokenUtf8)
{
    const std::pair<std::string, const char*> cases[] = {
        {"Saturn", "\"Saturn\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\b\f\n\r\t\x01\x1f", "\"\\b\\f\\n\\r\\t\\u0001\\u001f\""},
        {"Mond \xc3\xa9", "\"Mond \xc3\xa9\""},
        {"bad \xff end", "\"bad \xef\xbf\xbd end\""},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(jsonString(text), quoted) << quoted;
}

void document(JsonWriter& json, int rows)
{
    json.beginObject();
    json.key("empty").beginObject();
    json.endObject();
    json.key("none").beginArray();
    json.endArray();
    json.key("rows").beginArray();
    for (int i = 0; i < rows; ++i) {
        json.beginObject();
        json.key("n").value(static_cast<double>(i));
        json.key("fault").value(std::optional<std::string>());
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

TEST(JsonWriter, LaysOutTwoSpacesALevelAndStreamsTheSameBytes)
{
    JsonWriter small;
    document(small, 1);
    EXPECT_EQ(small.finish(), "{\n  \"empty\": {},\n  \"none\": [],\n  \"rows\": [\n    {\n"
                              "      \"n\": 0.0,\n      \"fault\": null\n    }\n  ]\n}\n");
    // Large enough to go to the stream in several pieces.
    JsonWriter kept;
    document(kept, 5000);
    std::ostringstream out;
    JsonWriter streamed(out);
    document(streamed, 5000);
    EXPECT_EQ(streamed.finish(), "");
    EXPECT_EQ(out.str(), kept.finish());
}

double readBack(double value, std::chars_format format, int precision)
{
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, format, precision);
    double back = value;
    std::from_chars(text, written.ptr, back);
    return back;
}

// Rounding works the figure out without writing and reading a text; it must give the very
// double the text would, ties and halves included.
TEST(JsonWriter, RoundsAsWritingAndReadingTheTextWould)
{
    std::vector<double> values = {0.125, 0.375, 2.5,     -0.005, -0.001,  0.0,    -0.0,
                                  1.005, 1e15,  6.87e14, 1e-300, 123.455, 99.995, -45.125};
    std::mt19937_64 random(27);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::uniform_real_distribution<>(-400, 400)(random));
        values.push_back(std::ldexp(static_cast<double>(random() % 100000), -int(random() % 12)));
        values.push_back(std::pow(10.0, std::uniform_real_distribution<>(-8, 17)(random)));
    }
    for (const double value : values) {
        for (int places = 0; places <= 5; ++places) {
            const double want = readBack(value, std::chars_format::fixed, places);
            const double got = rounded(value, places);
            ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << value << " to " << places;
            // Written straight from the rounding, the figure reads as jsonNumber writes it.
            const std::optional<Decimal> decimal = roundedDecimal(value, places);
            if (decimal && std::fabs(decimal->units) < 1e15) {
                ASSERT_EQ(jsonFixed(decimal->units, decimal->decimals), jsonNumber(want))
                    << value << " to " << places;
            }
        }
        for (int digits = 1; digits <= 8; ++digits) {
            const double want = readBack(value, std::chars_format::general, digits);
            const double got = significant(value, digits);
            ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << value << " to " << digits;
        }
    }
}

} // namespace
} // namespace vellmore::platform
