// Text in and text out: file bytes to UTF-8, the settings file's fields, numbers read from a
// field and numbers written for a label.
#include "platform/encoding.h"
#include "platform/fieldreader.h"
#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace vellmore::platform {
namespace {

// Bytes that are UTF-8 stay as they are; a file with a single byte that is not UTF-8 is read
// whole in the legacy code page (Windows-1252 here and under Wine's default ANSI code page).
TEST(Encoding, FileTextBecomesUtf8)
{
    // clang-format off
    const struct { std::string bytes; std::string utf8; } cases[] = {
        {"Venus=1310\r\n", "Venus=1310\r\n"}, {"V\xC3\xA9nus", "V\xC3\xA9nus"},
        {"\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0", "\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0"}, {"\xF0\x9F\x8C\x95", "\xF0\x9F\x8C\x95"},
        {std::string("a\0b", 3), std::string("a\0b", 3)}, {"V\xE9nus", "V\xC3\xA9nus"},
        {"\x80 \x9F \xFF", "\xE2\x82\xAC \xC5\xB8 \xC3\xBF"}, {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"\xC3\xA9 and \xE9", "\xC3\x83\xC2\xA9 and \xC3\xA9"},
        // Not UTF-8: an overlong form, a surrogate, a code past U+10FFFF, a sequence cut short.
        {"\xC0\xAF", "\xC3\x80\xC2\xAF"}, {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, {"\xE2\x82", "\xC3\xA2\xE2\x80\x9A"},
        // A byte order mark says UTF-8: a stray byte after it stands alone for U+FFFD.
        {"\xEF\xBB\xBFK=40\r\nV\xE9nus=1\xE2\x82", "\xEF\xBB\xBFK=40\r\nV\xEF\xBF\xBDnus=1\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(fileTextToUtf8(c.bytes), c.utf8) << c.bytes;
    EXPECT_TRUE(isUtf8("\xF4\x8F\xBF\xBF")) << "U+10FFFF is the last";
    EXPECT_TRUE(isUtf8("\xED\x9F\xBF\xEE\x80\x80")) << "U+D7FF and U+E000 surround the surrogates";
    EXPECT_FALSE(isUtf8("\xE0\x9F\xBF")) << "U+07FF written in three bytes";
    EXPECT_FALSE(isUtf8("\xF8\x88\x80\x80\x80")) << "five-byte forms are gone";
    // Columns as a terminal draws them: a wide letter takes two, a combining mark none.
    // clang-format off
    const std::pair<const char*, size_t> widths[] = {
        {"", 0}, {"V\xC3\xA9nus", 5}, {"\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0", 4}, {"\xF0\x9F\x8C\x95!", 3},
        {"\xE6\x9C\x88=", 3}, {"\xEB\x8B\xAC", 2}, {"\xEF\xBC\xA1", 2}, {"e\xCC\x81", 1}, {"\xFF", 1}};
    // clang-format on
    for (const auto& [text, columns] : widths)
        EXPECT_EQ(displayWidth(text), columns) << text;
#ifdef _WIN32
    // "Use Unicode UTF-8" makes the ANSI code page UTF-8; an older 8-bit file is Windows-1252.
    EXPECT_EQ(codePageToUtf8("V\xE9nus", 65001), "V\xC3\xA9nus");
#endif
}

TEST(FieldReader, SplitsAFileIntoFields)
{
    using Fields = std::vector<std::string>;
    const std::string nul("a\0b=1", 5);
    // clang-format off
    const struct { std::string bytes; Fields fields; } cases[] = {
        {"K=40\r\nFilmISO=100\r\n", {"K=40", "FilmISO=100"}}, {"a\nb\rc", {"a", "b", "c"}}, {"K=40", {"K=40"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}}, {"K=40, some words\r\n", {"K=40", "some words"}},
        {"Saturn=13,6\r\n", {"Saturn=13", "6"}}, {"  \t K=40 \t \r\n", {"K=40"}}, {"K= 40\r\n", {"K= 40"}},
        {"\"Hale, Bopp=5\"\r\nx=1", {"Hale, Bopp=5", "x=1"}}, {"\"  a b  \"", {"  a b  "}},
        {"\"a\r\nb\",c", {"a\r\nb", "c"}}, {"\"a\" junk, b", {"a", "b"}}, {"x,\"abc\r\ndef", {"x", "abc\r\ndef"}},
        {"a\"b=1\r\n", {"a\"b=1"}}, {"\xEF\xBB\xBFK=40\r\n", {"K=40"}}, {"a\r\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
        {"a\r\n   ", {"a", ""}}, {"a,,b", {"a", "", "b"}}, {nul, {nul}}, {"", {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        FieldReader reader(c.bytes);
        Fields fields;
        while (!reader.atEnd())
            fields.push_back(reader.next());
        EXPECT_EQ(fields, c.fields) << c.bytes;
        EXPECT_EQ(reader.next(), "") << "a field asked for at the end is empty";
    }
}

TEST(ParseNumber, ReadsTheNumberAtTheStart)
{
    constexpr bool overflow = true;
    // clang-format off
    const struct { std::string text; double value; bool overflow = false; } cases[] = {
        {"    1615 198th Street N.E.", 1615198}, {" 2 45 7", 2457}, {"24 and 57", 24}, {" 14 1.825 miles", 141.825},
        {"1.2.3", 1.2}, {"12D3abc", 12000}, {"abc", 0}, {"", 0}, {"-", 0}, {".", 0}, {"--5", 0},
        {"\t1\r\n4\n2\r0", 1420}, {"-40", -40}, {"+ 5", 5}, {"-.5e1", -5}, {"2.5d+2", 250}, {"12E", 12},
        {"12e+x", 12}, {"1 e 3", 1000}, {"13,6", 13}, {"000123.4500", 123.45}, {"0.1", 0.1},
        // Texts the C library would take as numbers are not numbers here.
        {"nan", 0}, {"inf", 0}, {"infinity", 0}, {"0x1p3", 0}, {"&H10", 0},
        // The edges of the double range: too large is a fault, too small is 0.
        {"1e400", 0, overflow}, {"-1e400", 0, overflow}, {"1.8e308", 0, overflow}, {"1e99999999999999999999", 0, overflow},
        {"1.7976931348623157e308", 1.7976931348623157e308}, {"1e-320", 1e-320}, {"1e-400", 0}, {"0e999999", 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ParsedNumber got = parseNumber(c.text);
        EXPECT_EQ(got.overflow, c.overflow) << '"' << c.text << '"';
        EXPECT_EQ(got.value, c.value) << '"' << c.text << '"';
    }
    // Correctly rounded whatever the length.
    EXPECT_EQ(parseNumber("0." + std::string(10000, '3')).value, 1.0 / 3.0);
    EXPECT_EQ(parseNumber(std::string(10000, ' ') + "7").value, 7);
    // Halfway between two doubles, decided only by a digit far past the first 800.
    const std::string half = "9007199254740993" + std::string(1000, '0');
    EXPECT_EQ(parseNumber(half + "e-1000").value, 9007199254740992.0);
    EXPECT_EQ(parseNumber(half + "1e-1001").value, 9007199254740994.0);
    EXPECT_TRUE(std::signbit(parseNumber("-0").value));
}

TEST(FormatPattern, RoundsHalfAwayFromZeroOnFifteenDigits)
{
    // clang-format off
    const struct { double value; const char* twoDecimals; const char* fiveDecimals; } cases[] = {
        {1420.0 / 19, "74.74", "74.73684"}, {125.245, "125.25", "125.24500"}, {1.005, "1.01", "1.00500"},
        {-1.005, "-1.01", "-1.00500"}, {2.675, "2.68", "2.67500"}, {1e20, "100000000000000000000.00", "100000000000000000000.00000"},
        {0, "0.00", "0.00000"}, {-0.0, "0.00", "0.00000"}, {-0.001, "0.00", "-0.00100"}, {-0.005, "-0.01", "-0.00500"},
        {99.999, "100.00", "99.99900"}, {9.999995, "10.00", "10.00000"}, {0.000005, "0.00", "0.00001"},
        {0.0721322, "0.07", "0.07213"}, {1e-300, "0.00", "0.00000"}, {123456789012345678.0, "123456789012346000.00", "123456789012346000.00000"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(formatPattern(c.value, 2), c.twoDecimals) << c.value;
        EXPECT_EQ(formatPattern(c.value, 5), c.fiveDecimals) << c.value;
    }
}

TEST(FormatGeneral, PrintsUpToFifteenSignificantDigits)
{
    // clang-format off
    const struct { double value; const char* general; const char* signedTrimmed; } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(formatGeneral(c.value), c.general) << c.value;
        EXPECT_EQ(formatSignedTrimmed(c.value), c.signedTrimmed) << c.value;
        EXPECT_FALSE(parseNumber(c.general).overflow) << c.general;
    }
}

} // namespace
} // namespace vellmore::platform
