#include "platform/folders.h"

#include "platform/files.h"

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
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
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
    const std::string left = withoutTrailingSeparator(a);
    const std::string right = withoutTrailingSeparator(b);
#ifdef _WIN32
    const std::wstring l = toWide(left);
    const std::wstring r = toWide(right);
    return CompareStringOrdinal(l.c_str(), static_cast<int>(l.size()), r.c_str(),
                                static_cast<int>(r.size()), TRUE) == CSTR_EQUAL;
#else
    return left == right;
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
    const std::wstring wideKey = toWide(key);
    const std::wstring wideName = toWide(name);
    const DWORD flags = RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wideKey.c_str(), wideName.c_str(), flags, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wideKey.c_str(), wideName.c_str(), flags, nullptr,
                     value.data(), &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    return fromWide(value);
}
#endif

} // namespace vellmore::platform
