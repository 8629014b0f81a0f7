#include "platform/files.h"
#include "platform/folders.h"
#include "settings/loader.h"
#include "settings/location.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "platform/encoding.h"

#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vellmore::settings {
namespace {

using calc::Input;
using Sets = std::vector<std::pair<Input, std::string>>;
using Entries = std::vector<std::string>; // the selector's texts

// Each file's settings in file order, and its objects as the selector lists them.
TEST(ParseSettings, ReadsSettingsAndObjectsInFileOrder)
{
    const Input K = Input::K;
    const Input ISO = Input::FilmISO;
    // clang-format off
    const struct { std::string file; Sets sets; Entries entries; std::optional<LoadError> error = std::nullopt; } cases[] = {
        {defaultContent(),
         {{Input::TelescopeFL, "1420"}, {Input::EyepieceFL, "19"}, {Input::CameraFL, "50"}, {Input::TelescopeAperture, "220"}, {K, "40"}, {ISO, "100"}},
         {"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)", "Saturn= (13.6)", "Jupiter= (32.5)", "Mars= (32.5)", "Venus= (1310)"}},
        {"", {}, {}},
        {"K=40\r\nVenus=1310\r\n", {{K, "40"}}, {}},
        {"FilmISO=400\r\nK=40\r\nK=200\r\nColour=red\r\n", {{ISO, "400"}, {K, "40"}, {K, "200"}}, {}},
        {"k=40\r\nK =40\r\n", {}, {}},
        {"K= 40 mm\r\nK==5\r\nK=\r\n", {{K, " 40 mm"}, {K, "=5"}, {K, ""}}, {}},
        {"[exposures]\r\nMoon=20\r\n", {}, {}},
        {"[Exposures]\r\nFull Moon=200\r\n\"Hale, Bopp=5\"\r\nK=40\r\n; K values = guesses\r\n", {}, {"Full Moon= (200)", "Hale, Bopp= (5)", "K= (40)", "; K values = (0)"}},
        {"[Exposures]\r\nDim=.5\r\nMystery=bright\r\nSaturn=13,6\r\n", {}, {"Dim= (.5)", "Mystery= (0)", "Saturn= (13)"}},
        {"[Exposures]\r\nA=1\r\n[Exposures]\r\nB=2\r\n", {}, {"A= (1)", "B= (2)"}},
        {"K=40\r\n[Exposures]", {{K, "40"}}, {}},
        {"[Exposures]\r\n[Exposures]\r\n", {}, {}},
        {std::string("\xFF\xFEK\0=\0" "4\0", 8), {}, {}, LoadError::Utf16},
        {std::string("\xFE\xFF\0K", 4), {}, {}, LoadError::Utf16},
        // Notepad's byte order mark and a stray byte after it: every key still reads.
        {"\xEF\xBB\xBFTelescopeFL=2000\r\n[Exposures]\r\nV\xE9nus=1\r\n", {{Input::TelescopeFL, "2000"}}, {"V\xEF\xBF\xBDnus= (1)"}},
        {"[Exposures]\r\nA=1\r\nB=1e400\r\nC=3\r\n", {}, {"A= (1)"}, LoadError::ObjectOverflow},
    };
    // clang-format on
    for (const auto& c : cases) {
        const LoadResult got = parseSettings(c.file);
        Sets sets;
        for (const Assignment& a : got.assignments)
            sets.emplace_back(a.field, a.value);
        Entries entries;
        for (const ObjectEntry& o : got.objects)
            entries.push_back(listEntryText(o));
        EXPECT_EQ(sets, c.sets) << c.file;
        EXPECT_EQ(entries, c.entries) << c.file;
        EXPECT_EQ(got.error, c.error) << c.file;
    }
}

TEST(ParseSettingsLimits, KeepsTheFirstThousandObjectsAndSaysSo)
{
    std::string file = "[Exposures]\r\n";
    for (int i = 1; i <= 1001; ++i)
        file += "Star" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    LoadOutcome outcome;
    outcome.read = true;
    outcome.content = parseSettings(file);
    ASSERT_EQ(outcome.content.objects.size(), 1000u);
    EXPECT_EQ(listEntryText(outcome.content.objects.back()), "Star1000= (1000)");
    EXPECT_EQ(describeOutcome(outcome, "Vellmore.ini"),
              "Vellmore.ini lists more than 1000 objects; only the first 1000 were loaded.");
}

TEST(SettingsFile, DefaultIsFifteenCrLfLines)
{
    EXPECT_EQ(defaultContent(), "TelescopeFL=1420\r\nEyepieceFL=19\r\nCameraFL=50\r\n"
                                "TelescopeAperture=220\r\nK=40\r\nFilmISO=100\r\n\r\n"
                                "[Exposures]\r\nCrescentMoon=20\r\nQuarterMoon=40\r\n"
                                "FullMoon=200\r\nSaturn=13.6\r\nJupiter=32.5\r\nMars=32.5\r\n"
                                "Venus=1310\r\n");
}

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
    // A crash half way through writing (here the limit's own signal ends the program) leaves no
    // file either, so the next start writes the whole default file.
    const pid_t child = ::fork();
    if (child == 0) {
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        loadSettingsFile(path);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
    EXPECT_FALSE(std::filesystem::exists(path));
#endif
#ifdef __linux__
    // A plain file to stat and open whose first byte cannot be read, whoever runs the test.
    EXPECT_EQ(describeOutcome(readSettingsFile("/proc/self/mem"), "mem"),
              "Could not read the settings file /proc/self/mem: Input/output error" + unchanged);
#endif
}

// On real folders: a portable copy (one anywhere but the installed folder) and an installed
// copy, which makes its user folder and writes the default file there, and nothing beside it.
TEST(Location, PortableCopiesKeepTheFileBesideThemAndInstalledOnesInTheUsersFolder)
{
    testing::TestDir dir;
    const char sep = platform::pathSeparator();
    const std::string bin = dir.file("bin");
    const std::string user = dir.file("config") + sep + "vellmore";
    std::filesystem::create_directory(std::filesystem::u8path(bin));
    const bool caseBlind = sep == '\\'; // Windows compares folder names without regard to case
    // clang-format off
    const struct { std::string program, installed, user; bool installedCopy; } cases[] = {
        {dir.file("other"), bin, user, false}, {bin, bin, user, true}, {bin + sep, bin, user, true},
        {dir.file("BIN"), bin, user, caseBlind}, {bin, "", user, false}, {bin, bin, "", false},
    };
    // clang-format on
#ifdef _WIN32
    // The installed folder as the program may be started from it: by its 8.3 short name, or with
    // the prefix of long paths.
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(platform::toWide(bin).c_str(), shortName.data(), MAX_PATH));
    const std::string spellings[] = {platform::fromWide(shortName), "\\\\?\\" + bin};
#else
    std::filesystem::create_directory_symlink(bin, dir.file("linked"));
    const std::string spellings[] = {dir.file("linked"), bin + "/../bin"};
#endif
    for (const std::string& spelt : spellings) {
        EXPECT_NE(spelt, bin);
        EXPECT_EQ(locate(spelt, bin, user).path, user + sep + "Vellmore.ini") << spelt;
    }
    for (const auto& c : cases) {
        const Location got = locate(c.program, c.installed, c.user);
        EXPECT_EQ(got.path,
                  c.installedCopy ? user + sep + "Vellmore.ini" : settingsPath(c.program));
        EXPECT_EQ(shownName(got), c.installedCopy ? got.path : "Vellmore.ini") << c.program;
    }
    const Location installed = locate(bin, bin, user);
    EXPECT_EQ(loadSettingsFile(installed.path, installed.folder).detail, "");
    EXPECT_EQ(testing::contentOf(installed.path), defaultContent());
    EXPECT_FALSE(platform::exists(settingsPath(bin))) << "nothing beside the program";
    // A Vellmore.ini someone put beside an installed copy is still the one it uses.
    testing::writeFile(settingsPath(bin), "K=7\r\n");
    EXPECT_EQ(locate(bin, bin, user).path, settingsPath(bin));
}

TEST(Location, TheFoldersAreTheSystemsOwn)
{
#ifdef _WIN32
    EXPECT_TRUE(platform::sameFolder(userSettingsDir(),
                                     std::string(std::getenv("APPDATA")) + "\\Vellmore"));
    // Where the installer recorded it put the program.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Vellmore", 0, nullptr, 0,
                              KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t folder[] = L"C:\\Program Files\\Vellmore";
    RegSetValueExW(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                   sizeof folder);
    const std::string found = installedProgramDir();
    RegDeleteValueW(key, L"InstallDir");
    RegCloseKey(key);
    EXPECT_EQ(found, "C:\\Program Files\\Vellmore");
    EXPECT_EQ(installedProgramDir(), "");
#else
    ::setenv("HOME", "/home/ann", 1);
    // XDG_CONFIG_HOME counts only as an absolute path.
    const std::string home = "/home/ann/.config/vellmore";
    const std::pair<const char*, std::string> cases[] = {
        {"/srv/config", "/srv/config/vellmore"}, {"", home}, {"cfg", home}, {nullptr, home}};
    for (const auto& [config, folder] : cases) {
        if (config)
            ::setenv("XDG_CONFIG_HOME", config, 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(userSettingsDir(), folder) << (config ? config : "unset");
    }
#endif
}

} // namespace
} // namespace vellmore::settings
