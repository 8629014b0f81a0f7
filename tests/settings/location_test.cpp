#include "platform/files.h"
#include "platform/folders.h"
#include "settings/location.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vellmore::settings {
namespace {

// On real folders: a portable copy (one anywhere but the installed folder) and an installed
// copy, which makes its user folder and writes the default file there, and nothing beside it.
TEST(Location, PortableCopiesKeepTheFileBesideThemAndInstalledOnesInTheUsersFolder)
{
    testing::TestDir dir;
    const char sep = platform::pathSeparator();
    const std::string bin = dir.file("bin");
    const std::string user = dir.file("config") + sep + "vellmore";
    std::filesystem::create_directory(std::filesystem::u8path(bin));
#ifdef _WIN32
    const bool caseBlind = true; // Windows compares folder names without regard to case
#else
    const bool caseBlind = false;
#endif
    // clang-format off
    const struct { std::string program, installed, user; bool installedCopy; } cases[] = {
        {dir.file("other"), bin, user, false}, {bin, bin, user, true}, {bin + sep, bin, user, true},
        {dir.file("BIN"), bin, user, caseBlind}, {bin, "", user, false}, {bin, bin, "", false},
    };
    // clang-format on
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
    for (const char* config : {"/srv/config", "", static_cast<const char*>(nullptr)}) {
        if (config)
            ::setenv("XDG_CONFIG_HOME", config, 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(userSettingsDir(),
                  config && *config ? "/srv/config/vellmore" : "/home/ann/.config/vellmore");
    }
#endif
}

} // namespace
} // namespace vellmore::settings
