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

namespace fs = std::filesystem;

std::string in(const std::string& folder, const std::string& name)
{
    return folder + platform::pathSeparator() + name;
}

// Every case on real folders: a portable copy (any folder but the installed one) and an
// installed copy, which makes its user folder and writes the default file there.
TEST(Location, PortableCopiesKeepTheFileBesideThemAndInstalledOnesInTheUsersFolder)
{
    testing::TestDir dir;
    const std::string bin = dir.file("bin");
    const std::string other = dir.file("other");
    const std::string user = in(in(dir.path(), "config"), "vellmore");
    fs::create_directory(fs::u8path(bin));
    fs::create_directory(fs::u8path(other));
    const std::string binOtherCase = dir.file("BIN");
#ifdef _WIN32
    const char* const otherCase = "installed"; // Windows compares folder names without case
#else
    const char* const otherCase = "portable";
#endif
    // clang-format off
    const struct { std::string program, installed, user; const char* copy; } cases[] = {
        {other, bin, user, "portable"}, {bin, bin, user, "installed"}, {bin + platform::pathSeparator(), bin, user, "installed"},
        {binOtherCase, bin, user, otherCase}, {bin, "", user, "portable"}, {bin, bin, "", "portable"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Location got = locate(c.program, c.installed, c.user);
        const bool installed = std::string(c.copy) == "installed";
        EXPECT_EQ(got.path, installed ? in(user, "Vellmore.ini") : settingsPath(c.program))
            << c.program;
        EXPECT_EQ(got.folder, installed ? user : "") << c.program;
        EXPECT_EQ(shownName(got), installed ? got.path : "Vellmore.ini");
    }

    const Location installed = locate(bin, bin, user);
    const LoadOutcome first = loadSettingsFile(installed.path, installed.folder);
    EXPECT_EQ(first.problem, FileProblem::None) << first.detail;
    EXPECT_EQ(testing::contentOf(installed.path), defaultContent());
    EXPECT_FALSE(fs::exists(fs::u8path(settingsPath(bin)))) << "nothing beside the program";

    // A Vellmore.ini that someone put beside an installed copy is still the one it uses.
    testing::writeFile(settingsPath(bin), "K=7\r\n");
    EXPECT_EQ(locate(bin, bin, user).path, settingsPath(bin));
}

TEST(Location, TheUsersFolderIsTheSystemsOwn)
{
#ifdef _WIN32
    const char* appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_TRUE(platform::sameFolder(userSettingsDir(), std::string(appData) + "\\Vellmore"));

    // The installer's record of where it put the program, as the installed copy finds it.
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
    ASSERT_EQ(::setenv("XDG_CONFIG_HOME", "/srv/config", 1), 0);
    EXPECT_EQ(userSettingsDir(), "/srv/config/vellmore");
    ASSERT_EQ(::setenv("HOME", "/home/ann", 1), 0);
    for (const bool set : {true, false}) {
        if (set)
            ::setenv("XDG_CONFIG_HOME", "", 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(userSettingsDir(), "/home/ann/.config/vellmore") << "set but empty: " << set;
    }
#endif
}

} // namespace
} // namespace vellmore::settings
