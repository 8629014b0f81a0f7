#include "platform/encoding.h"
#include "platform/files.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
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

// Letters of any script in a path, beyond the ANSI code page (1252 here) too.
TEST(Windows, PathsKeepTheirLettersWhateverTheScript)
{
    testing::TestDir dir;
    const std::string folder = dir.file("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80");
    ASSERT_TRUE(CreateDirectoryW(toWide(folder).c_str(), nullptr));
    const std::string path = settings::settingsPath(folder);
    EXPECT_EQ(settings::loadSettingsFile(path).problem, settings::FileProblem::None);
    EXPECT_EQ(readRegularFile(path, 1024).bytes, settings::defaultContent());
    EXPECT_FALSE(createNewFile(path, "x").ok) << "never over a file that exists";
    // A message names the file with its own letters.
    const std::string inside = settings::settingsPath(folder + "\\\xC3\x84str\xC3\xB6");
    EXPECT_EQ(settings::describeOutcome(settings::loadSettingsFile(inside), "Vellmore.ini"),
              "Could not create the settings file " + inside +
                  ": No such file or directory. The calculator goes on with the values on screen.");
}
#endif

} // namespace
} // namespace vellmore::platform
