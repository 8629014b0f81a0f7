#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellmore::platform {

// Paths are UTF-8 text; on Windows they reach the system through its wide (UTF-16) calls.

enum class ReadStatus {
    Ok,
    Missing,    // nothing at all stands at the path
    NotAFile,   // a directory, FIFO, device, socket or a link that leads nowhere
    Unreadable, // a file that could not be opened or read
    TooLarge,   // a file larger than the cap
};

struct FileRead
{
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    // What stands at the path (NotAFile) or the system's reason (Unreadable).
    std::string detail;
};

// Reads a whole regular file in one go. Anything that is not a regular file is refused before
// it is read, and a FIFO is opened without blocking, so no path can hang or read forever.
FileRead readRegularFile(const std::string& path, size_t maxBytes);

struct FileWrite
{
    bool ok = false;
    std::string reason;
};

// Creates a new file holding `bytes`, written as they are (no line-end translation). The file
// appears whole or not at all: it is written and flushed under a name of its own beside the path
// ("NAME.new0"), then moved there. Fails, touching nothing, when anything already stands at the
// path, a dangling link included.
FileWrite createNewFile(const std::string& path, std::string_view bytes);

// Writes a file in the same way, then puts it in the place of whatever file stood at the path: the
// old file stays whole until the new one is.
FileWrite replaceFile(const std::string& path, std::string_view bytes);

// The platform's separator between a directory and a file name.
char pathSeparator();

// A name in a folder: the folder, the separator unless the folder ends in one already (a root
// such as "/" or "C:\"), and the name.
std::string joinPath(const std::string& folder, const std::string& name);

// The directory of the running executable; `argv0` is the fallback where the system cannot say.
std::string executableDirectory(const char* argv0);

// The program's arguments after its name, as UTF-8 (on Windows from its wide command line).
std::vector<std::string> programArguments(int argc, char* argv[]);

} // namespace vellmore::platform
