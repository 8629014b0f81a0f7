#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vellmore::settings {
namespace {

class StoreTest : public ::testing::Test
{
protected:
    std::string message(const LoadOutcome& outcome) const
    {
        return describeOutcome(outcome, settingsFileName);
    }

    testing::TestDir m_temp;
    std::string m_path = settingsPath(m_temp.path());
};

std::string cannotCreate(const std::string& path, const std::string& reason)
{
    return "Could not create the settings file " + path + ": " + reason +
           ". The calculator goes on with the values on screen.";
}

TEST_F(StoreTest, AFileThatCannotBeCreatedIsReportedWithTheSystemsReason)
{
    const std::string path = settingsPath(m_temp.file("missing"));
    EXPECT_EQ(message(loadSettingsFile(path)), cannotCreate(path, "No such file or directory"));
#ifndef _WIN32
    // A write that fails half way, here at the file-size limit, leaves no file behind.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const LoadOutcome got = loadSettingsFile(m_path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(message(got), cannotCreate(m_path, "File too large"));
    EXPECT_FALSE(testing::exists(m_path));
#endif
}

TEST_F(StoreTest, RefusesAFileBeyondTheCap)
{
    {
        std::ofstream out(m_path, std::ios::binary);
        out.seekp(static_cast<std::streamoff>(maxSettingsBytes));
        out.put('x');
    }
    const LoadOutcome got = loadSettingsFile(m_path);
    EXPECT_FALSE(got.read);
    EXPECT_EQ(message(got), "The settings file " + m_path + " is larger than " +
                                std::to_string(maxSettingsBytes / 1024 / 1024) +
                                " MiB, too large to be settings. Nothing was loaded or changed.");
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
        EXPECT_EQ(message(got), "The settings file " + path + " " + c.message +
                                    ", not a plain text file. Nothing was loaded or changed.");
        EXPECT_FALSE(testing::exists(path + ".target")) << "created through a link";
    }
}

TEST_F(StoreTest, PermissionsReadOnlyFolderAndUnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes and reads past permissions";
    ::chmod(m_temp.path().c_str(), 0555);
    EXPECT_EQ(message(loadSettingsFile(m_path)), cannotCreate(m_path, "Permission denied"));
    ::chmod(m_temp.path().c_str(), 0755);

    testing::writeFile(m_path, "K=200\r\n");
    ::chmod(m_path.c_str(), 0);
    EXPECT_EQ(message(loadSettingsFile(m_path)),
              "Could not read the settings file " + m_path +
                  ": Permission denied. Nothing was loaded or changed.");
    ::chmod(m_path.c_str(), 0644);
    EXPECT_EQ(testing::contentOf(m_path), "K=200\r\n");
}
#endif

#ifdef __linux__
TEST(Store, AReadErrorCarriesTheSystemsReason)
{
    // A plain file to stat and open, whose first byte cannot be read, whoever runs the test.
    const LoadOutcome got = readSettingsFile("/proc/self/mem");
    EXPECT_EQ(describeOutcome(got, "mem"), "Could not read the settings file /proc/self/mem: "
                                           "Input/output error. Nothing was loaded or changed.");
}
#endif

} // namespace
} // namespace vellmore::settings
