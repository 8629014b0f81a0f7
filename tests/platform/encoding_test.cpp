#include "platform/encoding.h"

#include <gtest/gtest.h>

#include <string>

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
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(fileTextToUtf8(c.bytes), c.utf8) << c.bytes;
    EXPECT_TRUE(isUtf8("\xF4\x8F\xBF\xBF")) << "U+10FFFF is the last";
    EXPECT_TRUE(isUtf8("\xED\x9F\xBF\xEE\x80\x80")) << "U+D7FF and U+E000 surround the surrogates";
    EXPECT_FALSE(isUtf8("\xE0\x9F\xBF")) << "U+07FF written in three bytes";
    EXPECT_FALSE(isUtf8("\xF8\x88\x80\x80\x80")) << "five-byte forms are gone";
}

TEST(Encoding, CountsCharactersNotBytes)
{
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("Venus"), 5u);
    EXPECT_EQ(characterCount("V\xC3\xA9nus"), 5u);
    EXPECT_EQ(characterCount("\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0"), 4u);
    EXPECT_EQ(characterCount("\xF0\x9F\x8C\x95!"), 2u);
}

} // namespace
} // namespace vellmore::platform
