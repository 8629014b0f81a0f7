#include "platform/fieldreader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::platform {
namespace {

using Fields = std::vector<std::string>;

TEST(FieldReader, SplitsAFileIntoFields)
{
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

} // namespace
} // namespace vellmore::platform
