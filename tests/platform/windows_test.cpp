// What only Windows does: the "\" separator, CR LF written as it is, paths in the ANSI code page.
#include "platform/files.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "testdir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace vellmore {
namespace {

TEST(Windows, SettingsPathUsesTheBackslash)
{
    EXPECT_EQ(platform::pathSeparator(), '\\');
    EXPECT_EQ(settings::settingsPath("C:\\Program Files\\Vellmore"),
              "C:\\Program Files\\Vellmore\\Vellmore.ini");
    EXPECT_EQ(settings::settingsPath("C:\\"), "C:\\Vellmore.ini");
}

TEST(Windows, DefaultFileHasPlainCrLfLineEnds)
{
    testing::TestDir dir;
    const std::string path = settings::settingsPath(dir.path());
    ASSERT_TRUE(settings::loadSettingsFile(path).wroteDefault);
    const std::string bytes = testing::contentOf(path);
    EXPECT_EQ(bytes, settings::defaultContent());
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos) << "no text-mode CR CR LF";
    EXPECT_EQ(settings::loadSettingsFile(path).content.objects.size(), 7u);
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

} // namespace
} // namespace vellmore
