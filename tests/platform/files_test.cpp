#include "platform/files.h"
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
    EXPECT_FALSE(testing::exists(dir.file("target"))) << "created through a link";
#endif
}

TEST(Files, ExecutableDirectoryHoldsThisProgram)
{
    const std::string dir = executableDirectory(nullptr);
    EXPECT_NE(dir.back(), pathSeparator());
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::filesystem::path(dir) / VELLMORE_TEST_PROGRAM))
        << dir;
}

} // namespace
} // namespace vellmore::platform
