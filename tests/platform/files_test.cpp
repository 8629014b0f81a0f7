#include "platform/files.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
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
    EXPECT_FALSE(std::filesystem::exists(dir.file("target"))) << "created through a link";
#endif
}

#ifdef _WIN32
// What only Windows does: the backslash separator and paths in the ANSI code page.
TEST(Windows, SettingsPathUsesTheBackslash)
{
    EXPECT_EQ(pathSeparator(), '\\');
    EXPECT_EQ(settings::settingsPath("C:\\Program Files\\Vellmore"),
              "C:\\Program Files\\Vellmore\\Vellmore.ini");
    EXPECT_EQ(settings::settingsPath("C:\\"), "C:\\Vellmore.ini");
}

TEST(Windows, PathsAreInTheAnsiCodePage)
{
    const std::wstring wideName = L"Lune \u00e9t\u00e9";
    BOOL lossy = FALSE;
    char narrow[64] = {};
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideName.c_str(), -1, narrow,
                                      sizeof narrow, nullptr, &lossy);
    if (n <= 0 || lossy)
        GTEST_SKIP() << "code page " << GetACP() << " has no e-acute";

    testing::TestDir dir;
    const std::string folder = dir.path() + "\\" + narrow;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = settings::settingsPath(folder);
    ASSERT_TRUE(settings::loadSettingsFile(path).wroteDefault) << "code page " << GetACP();

    // The same file, found by its Unicode name.
    wchar_t wideDir[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, dir.path().c_str(), -1, wideDir, MAX_PATH);
    const std::wstring widePath = std::wstring(wideDir) + L"\\" + wideName + L"\\Vellmore.ini";
    EXPECT_NE(GetFileAttributesW(widePath.c_str()), INVALID_FILE_ATTRIBUTES);
}
#endif

} // namespace
} // namespace vellmore::platform
