#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <functional>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace vellmore::settings {
namespace {

const std::string unchanged = ". Nothing was loaded or changed.";

// What the window says of a load, its file named as the window names it.
std::string message(const std::string& path)
{
    return describeOutcome(loadSettingsFile(path), settingsFileName);
}

std::string cannotCreate(const std::string& path, const std::string& reason)
{
    return "Could not create the settings file " + path + ": " + reason +
           ". The calculator goes on with the values on screen.";
}

TEST(Store, ReportsWhatStandsAtThePathAndNeverWritesOverIt)
{
    using Make = std::function<void(const std::string& path)>;
    // says: what follows "The settings file PATH ".
    // clang-format off
    const struct { Make make; std::string says; } cases[] = {
        {[](const std::string& p) { std::ofstream(p, std::ios::binary).seekp(maxSettingsBytes) << 'x'; },
         "is larger than " + std::to_string(maxSettingsBytes / 1024 / 1024) + " MiB, too large to be settings"},
#ifndef _WIN32
        {[](const std::string& p) { ::mkdir(p.c_str(), 0755); }, "is a folder, not a plain text file"},
        {[](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "is a pipe, not a plain text file"},
        {[](const std::string& p) { ::symlink("/dev/zero", p.c_str()); }, "is a device, not a plain text file"},
        {[](const std::string& p) { ::symlink((p + ".target").c_str(), p.c_str()); },
         "is a link to something that does not exist, not a plain text file"},
#endif
    };
    // clang-format on
    for (const auto& c : cases) {
        testing::TestDir dir;
        const std::string path = settingsPath(dir.path());
        c.make(path);
        EXPECT_EQ(message(path), "The settings file " + path + " " + c.says + unchanged);
        EXPECT_FALSE(std::filesystem::exists(path + ".target")) << "created through a link";
    }
}

TEST(Store, AFileThatCannotBeCreatedIsReportedWithTheSystemsReason)
{
    testing::TestDir dir;
    const std::string nowhere = settingsPath(dir.file("missing"));
    EXPECT_EQ(message(nowhere), cannotCreate(nowhere, "No such file or directory"));
#ifndef _WIN32
    // A write that fails half way, here at the file-size limit, leaves no file behind.
    const std::string path = settingsPath(dir.path());
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string got = message(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(got, cannotCreate(path, "File too large"));
    EXPECT_FALSE(std::filesystem::exists(path));
#endif
#ifdef __linux__
    // A plain file to stat and open whose first byte cannot be read, whoever runs the test.
    EXPECT_EQ(describeOutcome(readSettingsFile("/proc/self/mem"), "mem"),
              "Could not read the settings file /proc/self/mem: Input/output error" + unchanged);
#endif
}

} // namespace
} // namespace vellmore::settings
