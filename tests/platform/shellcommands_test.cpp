#include "platform/shellcommands.h"

#include <gtest/gtest.h>

#include <utility>

namespace vellmore::platform {
namespace {

TEST(EditorCommandLine, IsNotepadAndTheUnquotedPath)
{
    EXPECT_EQ(editorCommandLine("C:\\Program Files\\Vellmore\\Vellmore.ini"),
              "notepad C:\\Program Files\\Vellmore\\Vellmore.ini");
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

#ifdef _WIN32
TEST(WindowsLaunch, StartsAProgramAndReportsOneThatCannotStart)
{
    EXPECT_TRUE(startProgram("cmd.exe /c exit 0", 1));
    EXPECT_FALSE(startProgram("vellmore-no-such-program-here.exe", 1));
}

TEST(WindowsLaunch, ShellOpenReturnsShellExecutesValue)
{
    // ShellExecute reports a missing document with a value of 32 or less.
    EXPECT_LE(shellOpen("C:\\vellmore-no-such-folder\\missing.ini"), 32);
}
#endif

} // namespace
} // namespace vellmore::platform
