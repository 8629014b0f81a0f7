#include "platform/shellcommands.h"

#include <gtest/gtest.h>

namespace vellmore::platform {
namespace {

TEST(EditorCommandLine, IsNotepadAndTheUnquotedPath)
{
    EXPECT_EQ(editorCommandLine("C:\\Program Files\\Vellmore\\Vellmore.ini"),
              "notepad C:\\Program Files\\Vellmore\\Vellmore.ini");
    EXPECT_EQ(editorCommandLine("C:\\Vellmore.ini"), "notepad C:\\Vellmore.ini");
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
