#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vellmore::settings {
namespace {

class StoreTest : public ::testing::Test
{
protected:
    testing::TestDir m_temp;
    std::string m_path = settingsPath(m_temp.path());
};

TEST_F(StoreTest, ReportsAFolderItCannotWriteTo)
{
    const std::string path = settingsPath(m_temp.file("missing"));
    const LoadOutcome got = loadSettingsFile(path);
    EXPECT_FALSE(got.wroteDefault);
    EXPECT_EQ(describeOutcome(got), "Could not create the settings file " + path +
                                        ": No such file or directory. The calculator goes on "
                                        "with the values on screen.");
}

TEST_F(StoreTest, RefusesAFileBeyondTheCap)
{
    {
        std::ofstream out(m_path, std::ios::binary);
        out.seekp(static_cast<std::streamoff>(maxSettingsBytes));
        out.put('x');
    }
    const LoadOutcome got = loadSettingsFile(m_path);
    EXPECT_EQ(got.problem, FileProblem::TooLarge);
    EXPECT_FALSE(got.read);
}

#ifndef _WIN32
TEST_F(StoreTest, NothingIsWrittenOverWhatStandsAtThePath)
{
    using Make = void (*)(const std::string& path);
    const struct
    {
        Make make;
        const char* message;
    } cases[] = {
        {[](const std::string& p) { ::mkdir(p.c_str(), 0755); }, "is a folder"},
        {[](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "is a pipe"},
        {[](const std::string& p) { ::symlink("/dev/zero", p.c_str()); }, "is a device"},
        {[](const std::string& p) { ::symlink((p + ".target").c_str(), p.c_str()); },
         "is a link to something that does not exist"},
    };
    for (const auto& c : cases) {
        testing::TestDir dir;
        const std::string path = settingsPath(dir.path());
        c.make(path);
        const LoadOutcome got = loadSettingsFile(path);
        EXPECT_FALSE(got.wroteDefault || got.read) << c.message;
        EXPECT_EQ(describeOutcome(got), "The settings file " + path + " " + c.message +
                                            ", not a plain text file. Nothing was loaded or "
                                            "changed.");
        EXPECT_FALSE(testing::exists(path + ".target")) << "created through a link";
    }
}

TEST_F(StoreTest, PermissionsReadOnlyFolderAndUnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes and reads past permissions";
    ::chmod(m_temp.path().c_str(), 0555);
    const LoadOutcome readOnly = loadSettingsFile(m_path);
    EXPECT_EQ(readOnly.problem, FileProblem::CannotCreate);
    EXPECT_NE(describeOutcome(readOnly).find("Permission denied"), std::string::npos);
    ::chmod(m_temp.path().c_str(), 0755);

    testing::writeFile(m_path, "K=200\r\n");
    ::chmod(m_path.c_str(), 0);
    EXPECT_EQ(loadSettingsFile(m_path).problem, FileProblem::Unreadable);
    ::chmod(m_path.c_str(), 0644);
    EXPECT_EQ(testing::contentOf(m_path), "K=200\r\n");
}
#endif

} // namespace
} // namespace vellmore::settings
