#include "platform/folders.h"

#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include "platform/encoding.h"

#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <shlobj.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace vellmore::platform {
namespace {

std::string withoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && (path.back() == pathSeparator() || path.back() == '/'))
        path.pop_back();
    return path;
}

// Makes one folder; "" when it stands afterwards, else the system's reason.
#ifdef _WIN32
constexpr const char* separators = "\\/";
std::string makeFolder(const std::string& path)
{
    if (CreateDirectoryW(toWide(path).c_str(), nullptr))
        return {};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return {};
    return std::system_category().message(static_cast<int>(error));
}
#else
constexpr const char* separators = "/";
std::string makeFolder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST)
        return {};
    return std::strerror(errno);
}
#endif

#ifdef _WIN32
std::wstring withoutLongPrefix(std::wstring path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

// The folder's one full, long spelling: the name the system has for the folder it opens, which
// sees through 8.3 short names, a "\\?\" prefix and subst drives; for a folder that cannot be
// opened, its full path with long names where they exist.
std::string normalFolder(const std::string& path)
{
    std::wstring wide = toWide(path);
    HANDLE folder =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        std::wstring final(32768, L'\0');
        const DWORD n = GetFinalPathNameByHandleW(folder, final.data(), DWORD(final.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        CloseHandle(folder);
        if (n > 0 && n < final.size())
            return withoutTrailingSeparator(fromWide(withoutLongPrefix(final.substr(0, n))));
    }
    std::wstring full(32768, L'\0');
    DWORD n = GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (n > 0 && n < full.size()) {
        full.resize(n);
        std::wstring longName(32768, L'\0');
        n = GetLongPathNameW(full.c_str(), longName.data(), DWORD(longName.size()));
        wide = n > 0 && n < longName.size() ? longName.substr(0, n) : full;
    }
    return withoutTrailingSeparator(fromWide(withoutLongPrefix(wide)));
}
#endif

} // namespace

std::string userConfigRoot()
{
#ifdef _WIN32
    PWSTR folder = nullptr;
    std::string root;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK)
        root = fromWide(folder);
    CoTaskMemFree(folder);
    return root;
#else
    // The XDG rules take an absolute path alone: a relative one would move with the working folder.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return config;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && *home ? std::string(home) + "/.config" : std::string();
#endif
}

std::string makeFolders(const std::string& path)
{
    const std::string folder = withoutTrailingSeparator(path);
    // Each folder from the top down: those above may stand already or be out of reach (a drive
    // or a share); only the last one must stand.
    std::string reason;
    size_t cut = 0;
    do {
        cut = folder.find_first_of(separators, cut + 1);
        reason = makeFolder(folder.substr(0, cut));
    } while (cut != std::string::npos);
    return reason;
}

bool sameFolder(const std::string& a, const std::string& b)
{
#ifdef _WIN32
    const std::wstring l = toWide(normalFolder(a));
    const std::wstring r = toWide(normalFolder(b));
    return CompareStringOrdinal(l.c_str(), static_cast<int>(l.size()), r.c_str(),
                                static_cast<int>(r.size()), TRUE) == CSTR_EQUAL;
#else
    // The same folder is the same inode on the same device, however the path reaches it (links,
    // "." and ".."); folders that do not exist are compared by name.
    struct stat left
    {};
    struct stat right
    {};
    if (::stat(a.c_str(), &left) == 0 && ::stat(b.c_str(), &right) == 0)
        return left.st_dev == right.st_dev && left.st_ino == right.st_ino;
    return withoutTrailingSeparator(a) == withoutTrailingSeparator(b);
#endif
}

bool exists(const std::string& path)
{
#ifdef _WIN32
    return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st
    {};
    return ::lstat(path.c_str(), &st) == 0;
#endif
}

#ifdef _WIN32
std::string machineRegistryText(const std::string& key, const std::string& name)
{
    // The 64-bit view by KEY_WOW64_64KEY, which every Windows from 7 on takes (RegGetValueW's
    // RRF_SUBKEY_WOW6464KEY came with Windows 10).
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, toWide(key).c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      &opened) != ERROR_SUCCESS)
        return {};
    const std::wstring wideName = toWide(name);
    DWORD type = 0;
    DWORD bytes = 0;
    std::wstring value;
    if (RegQueryValueExW(opened, wideName.c_str(), nullptr, &type, nullptr, &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        value.resize(bytes / sizeof(wchar_t) + 1);
        if (RegQueryValueExW(opened, wideName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS)
            value.clear();
        value.resize(std::min<size_t>(value.size(), bytes / sizeof(wchar_t)));
    }
    RegCloseKey(opened);
    // A stored value need not end with its terminating zero, or may hold more than one.
    value.resize(std::min(value.size(), value.find(L'\0')));
    return fromWide(value);
}
#endif

} // namespace vellmore::platform
