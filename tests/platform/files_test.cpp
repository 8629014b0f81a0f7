#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vellmore::platform {
namespace {

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/vellmore-test-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Files, ReadsARegularFileWhole)
{
    TempDir dir;
    std::ofstream(dir.file("a"), std::ios::binary) << std::string("x\0y\r\n", 5);
    const FileRead got = readRegularFile(dir.file("a"), 100);
    EXPECT_EQ(got.status, ReadStatus::Ok);
    EXPECT_EQ(got.bytes, std::string("x\0y\r\n", 5));
}

TEST(Files, TellsWhatStandsAtThePath)
{
    TempDir dir;
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

TEST(Files, CreatesOnlyWhereNothingExists)
{
    TempDir dir;
    const std::string path = dir.file("new");
    EXPECT_TRUE(createNewFile(path, "one\r\n").ok);
    EXPECT_EQ(contentOf(path), "one\r\n");

    const FileWrite again = createNewFile(path, "two\r\n");
    EXPECT_FALSE(again.ok);
    EXPECT_FALSE(again.reason.empty());
    EXPECT_EQ(contentOf(path), "one\r\n");

    ASSERT_EQ(::symlink(dir.file("target").c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(createNewFile(dir.file("link"), "x").ok);
    EXPECT_NE(::access(dir.file("target").c_str(), F_OK), 0) << "created through a link";
}

TEST(Files, ReportsWhyItCannotCreate)
{
    const FileWrite got = createNewFile("/nonexistent-folder/Vellmore.ini", "x");
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.reason, "No such file or directory");
}

TEST(Files, PermissionsUnreadableFileAndReadOnlyFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which reads and writes past permissions";
    TempDir dir;
    std::ofstream(dir.file("secret")) << "K=40";
    ::chmod(dir.file("secret").c_str(), 0);
    EXPECT_EQ(readRegularFile(dir.file("secret"), 100).status, ReadStatus::Unreadable);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_FALSE(createNewFile(dir.file("new"), "x").ok);
    ::chmod(dir.path().c_str(), 0755);
}

TEST(Files, ExecutableDirectoryIsAFolder)
{
    const std::string dir = executableDirectory(nullptr);
    struct stat st
    {};
    ASSERT_EQ(::stat(dir.c_str(), &st), 0) << dir;
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

} // namespace
} // namespace vellmore::platform
