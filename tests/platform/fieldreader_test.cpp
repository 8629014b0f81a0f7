#include "platform/fieldreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::platform {
namespace {

std::vector<std::string> readAll(const std::string& bytes)
{
    FieldReader reader(bytes);
    std::vector<std::string> fields;
    while (!reader.atEnd())
        fields.push_back(reader.next());
    return fields;
}

using Fields = std::vector<std::string>;

struct ReaderCase
{
    const char* name;
    std::string bytes;
    Fields fields;
};

class FieldReading : public ::testing::TestWithParam<ReaderCase>
{};

TEST_P(FieldReading, SplitsTheFileIntoFields)
{
    EXPECT_EQ(readAll(GetParam().bytes), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FieldReading,
    ::testing::Values(
        ReaderCase{"CrLfLines", "K=40\r\nFilmISO=100\r\n", {"K=40", "FilmISO=100"}},
        ReaderCase{"LfAndCrLines", "a\nb\rc", {"a", "b", "c"}},
        ReaderCase{"NoFinalLineEnd", "K=40", {"K=40"}},
        ReaderCase{"EmptyLine", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        ReaderCase{"CommaSplits", "K=40, some words\r\n", {"K=40", "some words"}},
        ReaderCase{"DecimalComma", "Saturn=13,6\r\n", {"Saturn=13", "6"}},
        ReaderCase{"LeadingBlanksAndTabs", "  \t K=40\r\n", {"K=40"}},
        ReaderCase{"TrailingBlanksDropped", "K=40 \t \r\n", {"K=40"}},
        ReaderCase{"BlankAfterEqualsKept", "K= 40\r\n", {"K= 40"}},
        ReaderCase{"QuotedWithComma", "\"Hale, Bopp=5\"\r\nx=1", {"Hale, Bopp=5", "x=1"}},
        ReaderCase{"QuotedKeepsBlanks", "\"  a b  \"", {"  a b  "}},
        ReaderCase{"QuotedAcrossLines", "\"a\r\nb\",c", {"a\r\nb", "c"}},
        ReaderCase{"AfterClosingQuoteDropped", "\"a\" junk, b", {"a", "b"}},
        ReaderCase{"UnterminatedQuote", "x,\"abc\r\ndef", {"x", "abc\r\ndef"}},
        ReaderCase{"QuoteInsideUnquoted", "a\"b=1\r\n", {"a\"b=1"}},
        ReaderCase{"Utf8BomSkipped", "\xEF\xBB\xBFK=40\r\n", {"K=40"}},
        ReaderCase{"BomOnlyAtStart",
                   "a\r\n\xEF\xBB\xBF"
                   "b",
                   {"a", "\xEF\xBB\xBF"
                         "b"}},
        ReaderCase{"TrailingBlanksGiveEmptyField", "a\r\n   ", {"a", ""}},
        ReaderCase{"EmptyBetweenCommas", "a,,b", {"a", "", "b"}},
        ReaderCase{"NulIsOrdinary", std::string("a\0b=1", 5), {std::string("a\0b=1", 5)}},
        ReaderCase{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(FieldReader, AskedAtTheEndGivesAnEmptyField)
{
    FieldReader reader("a");
    EXPECT_EQ(reader.next(), "a");
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.next(), "");
    EXPECT_TRUE(reader.atEnd());
}

} // namespace
} // namespace vellmore::platform
