#include "platform/clock.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vellmore::platform {

double nowSeconds()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

int localOffsetMinutes(int year, int month, int day)
{
#ifdef _WIN32
    // The zone's rules for that year, as Windows keeps them.
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    TIME_ZONE_INFORMATION rules{};
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ||
        !GetTimeZoneInformationForYear(static_cast<USHORT>(year), &zone, &rules))
        return 0;
    SYSTEMTIME local{};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = 12;
    SYSTEMTIME utc{};
    FILETIME localFile{}, utcFile{};
    if (!TzSpecificLocalTimeToSystemTime(&rules, &local, &utc) ||
        !SystemTimeToFileTime(&local, &localFile) || !SystemTimeToFileTime(&utc, &utcFile))
        return 0;
    const auto ticks = [](const FILETIME& f) {
        return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) |
                                      f.dwLowDateTime);
    };
    return static_cast<int>((ticks(localFile) - ticks(utcFile)) / 600000000LL); // 100 ns ticks
#else
    std::tm noon{};
    noon.tm_year = year - 1900;
    noon.tm_mon = month - 1;
    noon.tm_mday = day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t instant = std::mktime(&noon);
    // Read back through localtime_r, which fills in the offset everywhere; the browser's mktime
    // leaves it at 0.
    std::tm local{};
    if (instant == static_cast<std::time_t>(-1) || !localtime_r(&instant, &local))
        return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
#endif
}

} // namespace vellmore::platform
