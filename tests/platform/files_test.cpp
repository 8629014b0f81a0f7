#include "platform/clock.h"
#include "platform/files.h"
#include "platform/shellcommands.h"
#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>

#ifdef _WIN32
#include "platform/encoding.h"

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

TEST(FileUrl, NamesTheFileAndNothingElse)
{
    // Characters that would make a web address, a query or another scheme stay plain text.
    const std::pair<const char*, const char*> cases[] = {
        {"/home/ann/Sky notes/Vellmore.ini", "file:///home/ann/Sky%20notes/Vellmore.ini"},
        {"/home/ren\xC3\xA9/M\xC3\xBCnchen/Vellmore.ini",
         "file:///home/ren%C3%A9/M%C3%BCnchen/Vellmore.ini"},
        {"/tmp/https:/x?y=1#z%20&v/Vellmore.ini",
         "file:///tmp/https%3A/x%3Fy%3D1%23z%2520%26v/Vellmore.ini"},
    };
    for (const auto& [path, url] : cases)
        EXPECT_EQ(fileUrl(path), url) << path;
}

#ifndef _WIN32
// The offset a zone's rules give on each date, summer time included: Adelaide is 9:30 east of
// UTC in its winter and 10:30 in its summer.
TEST(Clock, TheMachinesOffsetFollowsItsZoneOnThatDate)
{
    const char* saved = std::getenv("TZ");
    const std::string was = saved ? saved : "";
    ::setenv("TZ", "Australia/Adelaide", 1);
    ::tzset();
    const int winter = localOffsetMinutes(2026, 7, 1);
    const int summer = localOffsetMinutes(2026, 12, 7);
    saved ? ::setenv("TZ", was.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(winter, 570);
    EXPECT_EQ(summer, 630);
}
#endif

#ifdef _WIN32
TEST(Windows, SettingsPathUsesTheBackslash)
{
    EXPECT_EQ(settings::settingsPath("C:\\Program Files\\Vellmore"),
              "C:\\Program Files\\Vellmore\\Vellmore.ini");
    EXPECT_EQ(settings::settingsPath("C:\\"), "C:\\Vellmore.ini");
}

std::wstring lower(std::wstring text)
{
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// A notepad.exe beside the program is what a search for "notepad" would run first.
TEST(WindowsLaunch, TheEditorIsTheSystemsNotepadWhateverLiesBesideTheProgram)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring planted = self;
    planted = planted.substr(0, planted.find_last_of(L'\\')) + L"\\notepad.exe";
    ASSERT_TRUE(
        CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(), planted.c_str(), FALSE));

    testing::TestDir dir;
    const unsigned long id =
        startEditor(dir.file("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80 Vellmore.ini"));
    HANDLE process =
        id ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id)
           : nullptr;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (process) {
        QueryFullProcessImageNameW(process, 0, image, &size);
        TerminateProcess(process, 0);
        CloseHandle(process);
    }
    DeleteFileW(planted.c_str());
    ASSERT_NE(process, nullptr) << "no editor process";
    EXPECT_EQ(lower(image), lower(std::wstring(system) + L"\\notepad.exe"));
}
#endif

} // namespace
} // namespace vellmore::platform
