#include "platform/files.h"

#include "platform/encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace vellmore::platform {
namespace {

#ifdef _WIN32
// Paths go to Windows as UTF-16, so a folder named in any script works.
using StatBuf = struct _stat64;
int statPath(const std::string& path, StatBuf* st)
{
    return _wstat64(toWide(path).c_str(), st);
}
int linkStatPath(const std::string& path, StatBuf* st)
{
    return statPath(path, st);
}
int openForReading(const std::string& path)
{
    return _wopen(toWide(path).c_str(), _O_RDONLY | _O_BINARY);
}
int openNew(const std::string& path)
{
    return _wopen(toWide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                  _S_IREAD | _S_IWRITE);
}
int removePath(const std::string& path)
{
    return _wremove(toWide(path).c_str());
}
int flushFile(int fd)
{
    return _commit(fd);
}
// Moves a finished file into its place only where nothing stands there; "" when done.
std::string moveIntoPlace(const std::string& from, const std::string& to)
{
    if (MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return {};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return std::strerror(EEXIST);
    return std::system_category().message(static_cast<int>(error));
}
std::string moveOver(const std::string& from, const std::string& to)
{
    if (MoveFileExW(toWide(from).c_str(), toWide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return std::system_category().message(static_cast<int>(GetLastError()));
}
int fileStat(int fd, StatBuf* st)
{
    return _fstat64(fd, st);
}
long readSome(int fd, char* buf, size_t size)
{
    return _read(fd, buf, static_cast<unsigned>(size));
}
long writeSome(int fd, const char* buf, size_t size)
{
    return _write(fd, buf, static_cast<unsigned>(size));
}
int closeFile(int fd)
{
    return _close(fd);
}
bool isRegular(const StatBuf& st)
{
    return (st.st_mode & _S_IFMT) == _S_IFREG;
}
std::string kindOf(const StatBuf& st)
{
    return (st.st_mode & _S_IFMT) == _S_IFDIR ? "a folder" : "not a plain file";
}
#else
using StatBuf = struct stat;
int statPath(const std::string& path, StatBuf* st)
{
    return ::stat(path.c_str(), st);
}
int linkStatPath(const std::string& path, StatBuf* st)
{
    return ::lstat(path.c_str(), st);
}
int openForReading(const std::string& path)
{
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}
int openNew(const std::string& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0644);
}
int removePath(const std::string& path)
{
    return std::remove(path.c_str());
}
int flushFile(int fd)
{
    return ::fsync(fd);
}
// Moves a finished file into its place only where nothing stands there; "" when done. A hard
// link does that on every file system that has them; on others (FAT on a USB stick) a rename
// that refuses to replace, where the kernel has one, and else nothing is moved.
std::string moveIntoPlace(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return {};
    }
    if (errno == EEXIST || errno == ENOENT || errno == EACCES || errno == ENOSPC)
        return std::strerror(errno);
#if defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
#elif defined(__EMSCRIPTEN__)
    // The browser's file system has no hard links. It lives in the page, whose one thread runs
    // this call to its end, so nothing can appear at `to` between the look and the rename.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0)
        return std::strerror(EEXIST);
    if (errno == ENOENT && std::rename(from.c_str(), to.c_str()) == 0)
        return {};
#endif
    return std::strerror(errno);
}
std::string moveOver(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 ? std::string() : std::strerror(errno);
}
int fileStat(int fd, StatBuf* st)
{
    return ::fstat(fd, st);
}
long readSome(int fd, char* buf, size_t size)
{
    return static_cast<long>(::read(fd, buf, size));
}
long writeSome(int fd, const char* buf, size_t size)
{
    return static_cast<long>(::write(fd, buf, size));
}
int closeFile(int fd)
{
    return ::close(fd);
}
bool isRegular(const StatBuf& st)
{
    return S_ISREG(st.st_mode);
}
std::string kindOf(const StatBuf& st)
{
    if (S_ISDIR(st.st_mode))
        return "a folder";
    if (S_ISFIFO(st.st_mode))
        return "a pipe";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return "a device";
    if (S_ISSOCK(st.st_mode))
        return "a socket";
    return "not a plain file";
}
#endif

std::string systemReason(int error)
{
    return std::strerror(error);
}

// Writes `bytes` in full under a name of its own beside `path`, flushes them, and only then hands
// the finished file to `move`: a crash or a power cut leaves no half file at `path`, and no
// reader ever sees one.
FileWrite writeBeside(const std::string& path, std::string_view bytes,
                      std::string (*move)(const std::string& from, const std::string& to))
{
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = path + ".new" + std::to_string(attempt);
        fd = openNew(temp);
        if (fd < 0 && errno != EEXIST)
            return {false, systemReason(errno)};
    }
    if (fd < 0)
        return {false, systemReason(EEXIST)};
    size_t done = 0;
    int error = 0;
    while (done < bytes.size() && error == 0) {
        const long wrote = writeSome(fd, bytes.data() + done, bytes.size() - done);
        if (wrote > 0)
            done += static_cast<size_t>(wrote);
        else if (wrote == 0 || errno != EINTR)
            error = wrote < 0 ? errno : EIO;
    }
    if (error == 0 && flushFile(fd) != 0)
        error = errno;
    if (closeFile(fd) != 0 && error == 0)
        error = errno;
    std::string reason = error ? systemReason(error) : move(temp, path);
    if (!reason.empty())
        removePath(temp);
    return {reason.empty(), reason};
}

} // namespace

FileRead readRegularFile(const std::string& path, size_t maxBytes)
{
    FileRead result;
    StatBuf st{};
    if (statPath(path, &st) != 0) {
        const int error = errno;
        if (error == ENOENT && linkStatPath(path, &st) == 0) {
            result.status = ReadStatus::NotAFile;
            result.detail = "a link to something that does not exist";
        } else if (error == ENOENT) {
            result.status = ReadStatus::Missing;
        } else {
            result.status = ReadStatus::Unreadable;
            result.detail = systemReason(error);
        }
        return result;
    }
    if (!isRegular(st)) {
        result.status = ReadStatus::NotAFile;
        result.detail = kindOf(st);
        return result;
    }

    const int fd = openForReading(path);
    if (fd < 0) {
        result.status = ReadStatus::Unreadable;
        result.detail = systemReason(errno);
        return result;
    }
    // Checked again on the open file: the path may have changed since it was looked at.
    if (fileStat(fd, &st) != 0 || !isRegular(st)) {
        closeFile(fd);
        result.status = ReadStatus::NotAFile;
        result.detail = kindOf(st);
        return result;
    }

    std::string bytes;
    char buf[65536];
    for (;;) {
        const long got = readSome(fd, buf, sizeof buf);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.status = ReadStatus::Unreadable;
            result.detail = systemReason(errno);
            closeFile(fd);
            return result;
        }
        if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
            result.status = ReadStatus::TooLarge;
            closeFile(fd);
            return result;
        }
        bytes.append(buf, static_cast<size_t>(got));
    }
    closeFile(fd);
    result.status = ReadStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

FileWrite createNewFile(const std::string& path, std::string_view bytes)
{
    return writeBeside(path, bytes, moveIntoPlace);
}

FileWrite replaceFile(const std::string& path, std::string_view bytes)
{
    return writeBeside(path, bytes, moveOver);
}

char pathSeparator()
{
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == pathSeparator())
        return folder + name;
    return folder + pathSeparator() + name;
}

std::string executableDirectory(const char* argv0)
{
    std::string exe;
#ifdef _WIN32
    // Paths may be longer than MAX_PATH; the call cuts the name short when the buffer is.
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            break;
        if (n < buf.size()) {
            exe = fromWide(std::wstring_view(buf.data(), n));
            break;
        }
        if (buf.size() >= 32768)
            break;
        buf.resize(buf.size() * 2);
    }
#else
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
    if (n > 0 && static_cast<size_t>(n) < sizeof buf)
        exe.assign(buf, static_cast<size_t>(n));
#endif
    if (exe.empty() && argv0)
        exe = argv0;
    const size_t cut = exe.find_last_of(pathSeparator() == '/' ? "/" : "\\/");
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? exe.substr(0, 1) : exe.substr(0, cut);
}

std::vector<std::string> programArguments(int argc, char* argv[])
{
#ifdef _WIN32
    // The narrow argv is in the ANSI code page and loses every other letter.
    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(fromWide(wide[i]));
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

} // namespace vellmore::platform
