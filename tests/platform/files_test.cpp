#include "platform/files.h"
#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vellmore::platform {
namespace {

TEST(Files, CreatesOnlyWhereNothingExists)
{
    testing::TestDir dir;
    const std::string path = dir.file("new");
    EXPECT_TRUE(createNewFile(path, "one\r\n").ok);
    const FileWrite again = createNewFile(path, "two\r\n");
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.reason.empty());
    EXPECT_EQ(testing::contentOf(path), "one\r\n");
    EXPECT_EQ(readRegularFile(path, 5).bytes, "one\r\n");
#ifndef _WIN32
    ASSERT_EQ(::symlink(dir.file("target").c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(createNewFile(dir.file("link"), "x").ok);
    EXPECT_FALSE(std::filesystem::exists(dir.file("target"))) << "created through a link";
#endif
}

#ifdef _WIN32
// What only Windows does: the backslash separator.
TEST(Windows, SettingsPathUsesTheBackslash)
{
    EXPECT_EQ(pathSeparator(), '\\');
    EXPECT_EQ(settings::settingsPath("C:\\Program Files\\Vellmore"),
              "C:\\Program Files\\Vellmore\\Vellmore.ini");
    EXPECT_EQ(settings::settingsPath("C:\\"), "C:\\Vellmore.ini");
}
#endif

} // namespace
} // namespace vellmore::platform
