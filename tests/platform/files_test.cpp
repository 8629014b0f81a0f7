#include "platform/files.h"

#include <gtest/gtest.h>

#include "testdir.h"

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vellmore::platform {
namespace {

using testing::contentOf;
using testing::TestDir;

TEST(Files, ReadsARegularFileWhole)
{
    TestDir dir;
    testing::writeFile(dir.file("a"), std::string("x\0y\r\n", 5));
    const FileRead got = readRegularFile(dir.file("a"), 100);
    EXPECT_EQ(got.status, ReadStatus::Ok);
    EXPECT_EQ(got.bytes, std::string("x\0y\r\n", 5));
}

#ifndef _WIN32
TEST(Files, TellsWhatStandsAtThePath)
{
    TestDir dir;
    ASSERT_EQ(::mkdir(dir.file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.file("zero").c_str()), 0);
    std::ofstream(dir.file("big")) << std::string(101, 'x');

    const struct
    {
        const char* name;
        ReadStatus status;
        const char* detail;
    } cases[] = {
        {"missing", ReadStatus::Missing, ""},
        {"folder", ReadStatus::NotAFile, "a folder"},
        {"pipe", ReadStatus::NotAFile, "a pipe"},
        {"dangling", ReadStatus::NotAFile, "a link to something that does not exist"},
        {"zero", ReadStatus::NotAFile, "a device"},
        {"big", ReadStatus::TooLarge, ""},
    };
    for (const auto& c : cases) {
        const FileRead got = readRegularFile(dir.file(c.name), 100);
        EXPECT_EQ(got.status, c.status) << c.name;
        EXPECT_EQ(got.detail, c.detail) << c.name;
        EXPECT_TRUE(got.bytes.empty()) << c.name;
    }
}

#endif

TEST(Files, CreatesOnlyWhereNothingExists)
{
    TestDir dir;
    const std::string path = dir.file("new");
    EXPECT_TRUE(createNewFile(path, "one\r\n").ok);
    EXPECT_EQ(contentOf(path), "one\r\n");

    const FileWrite again = createNewFile(path, "two\r\n");
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.reason.empty());
    EXPECT_EQ(contentOf(path), "one\r\n");

#ifndef _WIN32
    ASSERT_EQ(::symlink(dir.file("target").c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(createNewFile(dir.file("link"), "x").ok);
    EXPECT_FALSE(testing::exists(dir.file("target"))) << "created through a link";
#endif
}

TEST(Files, ReportsWhyItCannotCreate)
{
    TestDir dir;
    const FileWrite got =
        createNewFile(dir.file("missing") + pathSeparator() + "Vellmore.ini", "x");
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.reason, "No such file or directory");
}

#ifndef _WIN32
TEST(Files, PermissionsUnreadableFileAndReadOnlyFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads and writes past permissions";
    TestDir dir;
    std::ofstream(dir.file("secret")) << "K=40";
    ::chmod(dir.file("secret").c_str(), 0);
    EXPECT_EQ(readRegularFile(dir.file("secret"), 100).status, ReadStatus::Unreadable);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(createNewFile(dir.file("new"), "x").ok);
    ::chmod(dir.path().c_str(), 0755);
}

#endif

TEST(Files, ExecutableDirectoryIsAFolder)
{
    const std::string dir = executableDirectory(nullptr);
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
}

} // namespace
} // namespace vellmore::platform
