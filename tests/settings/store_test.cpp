#include "settings/settingsfile.h"
#include "settings/store.h"

#include <gtest/gtest.h>

#include "testdir.h"

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
    std::string content() const { return testing::contentOf(m_path); }

    testing::TestDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = settingsPath(m_dir);
};

TEST_F(StoreTest, FirstLoadWritesTheDefaultAndTheSecondReadsIt)
{
    const LoadOutcome first = loadSettingsFile(m_path);
    EXPECT_TRUE(first.wroteDefault);
    EXPECT_FALSE(first.read);
    EXPECT_EQ(describeOutcome(first), "");
    EXPECT_EQ(content(), defaultContent());

    const LoadOutcome second = loadSettingsFile(m_path);
    EXPECT_TRUE(second.read);
    EXPECT_EQ(second.content.objects.size(), 7u);
    EXPECT_EQ(content(), defaultContent()) << "a read never writes";
}

#ifndef _WIN32
TEST_F(StoreTest, NothingIsWrittenOverWhatStandsAtThePath)
{
    const struct
    {
        const char* what;
        std::string (*make)(const std::string& path);
        const char* message;
    } cases[] = {
        {"folder",
         [](const std::string& p) {
             ::mkdir(p.c_str(), 0755);
             return std::string();
         },
         "is a folder, not a plain text file. Nothing was loaded or changed."},
        {"pipe",
         [](const std::string& p) {
             ::mkfifo(p.c_str(), 0644);
             return std::string();
         },
         "is a pipe, not a plain text file. Nothing was loaded or changed."},
        {"dangling link",
         [](const std::string& p) {
             const std::string target = p + ".target";
             ::symlink(target.c_str(), p.c_str());
             return target;
         },
         "is a link to something that does not exist, not a plain text file."},
        {"device link",
         [](const std::string& p) {
             ::symlink("/dev/zero", p.c_str());
             return std::string();
         },
         "is a device, not a plain text file."},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string dir = m_dir + "/" + std::to_string(n++);
        ::mkdir(dir.c_str(), 0755);
        const std::string path = settingsPath(dir);
        const std::string mustNotExist = c.make(path);
        const LoadOutcome got = loadSettingsFile(path);
        EXPECT_FALSE(got.wroteDefault) << c.what;
        EXPECT_FALSE(got.read) << c.what;
        EXPECT_NE(describeOutcome(got).find(c.message), std::string::npos)
            << c.what << ": " << describeOutcome(got);
        if (!mustNotExist.empty()) {
            EXPECT_NE(::access(mustNotExist.c_str(), F_OK), 0) << "created through " << c.what;
        }
    }
}

#endif

TEST_F(StoreTest, ReportsAFolderItCannotWriteTo)
{
    const std::string path = settingsPath(m_temp.file("missing"));
    const LoadOutcome got = loadSettingsFile(path);
    EXPECT_FALSE(got.wroteDefault);
    EXPECT_EQ(describeOutcome(got), "Could not create the settings file " + path +
                                        ": No such file or directory. The calculator goes on "
                                        "with the values on screen.");
}

#ifndef _WIN32

TEST_F(StoreTest, PermissionsReadOnlyFolderAndUnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes and reads past permissions";
    ::chmod(m_dir.c_str(), 0555);
    const LoadOutcome readOnly = loadSettingsFile(m_path);
    EXPECT_EQ(readOnly.problem, FileProblem::CannotCreate);
    EXPECT_NE(describeOutcome(readOnly).find("Permission denied"), std::string::npos);
    ::chmod(m_dir.c_str(), 0755);

    testing::writeFile(m_path, "K=200\r\n");
    ::chmod(m_path.c_str(), 0);
    const LoadOutcome unreadable = loadSettingsFile(m_path);
    EXPECT_EQ(unreadable.problem, FileProblem::Unreadable);
    ::chmod(m_path.c_str(), 0644);
    EXPECT_EQ(content(), "K=200\r\n");
}

#endif

TEST_F(StoreTest, RefusesAFileBeyondTheCap)
{
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.seekp(static_cast<std::streamoff>(maxSettingsBytes));
        out.put('x');
    }
    const LoadOutcome got = loadSettingsFile(m_path);
    EXPECT_EQ(got.problem, FileProblem::TooLarge);
    EXPECT_FALSE(got.read);
}

TEST(DescribeOutcome, NamesTheProblemPlainly)
{
    LoadOutcome outcome;
    outcome.read = true;
    outcome.content.error = LoadError::TooManyObjects;
    EXPECT_EQ(describeOutcome(outcome),
              "Vellmore.ini lists more than 1000 objects; only the first 1000 were loaded.");
    outcome.content.error = LoadError::Utf16;
    EXPECT_EQ(describeOutcome(outcome).rfind("Vellmore.ini is saved as UTF-16; save it as plain "
                                             "text.",
                                             0),
              0u);
}

} // namespace
} // namespace vellmore::settings
