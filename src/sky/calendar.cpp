#include "sky/calendar.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace vellmore::sky {

bool isValidDate(const Date& date)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.month < 1 || date.month > 12 || date.day < 1)
        return false;
    const int y = date.year;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return date.day <= lengths[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
}

// After Howard Hinnant's days_from_civil: eras of 400 years, March as the first month.
long long daysSinceEpoch(const Date& date)
{
    const long long y = date.year - (date.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear =
        (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date dateOfDay(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

Instant instantOf(const Date& date, int minutesOfDay, int offsetMinutes)
{
    return static_cast<double>(daysSinceEpoch(date)) * secondsPerDay +
           (minutesOfDay - offsetMinutes) * 60.0;
}

Date localDate(Instant instant, int offsetMinutes)
{
    return dateOfDay(
        static_cast<long long>(std::floor((instant + offsetMinutes * 60.0) / secondsPerDay)));
}

double localMinutes(Instant instant, int offsetMinutes)
{
    const double local = instant + offsetMinutes * 60.0;
    return (local - std::floor(local / secondsPerDay) * secondsPerDay) / 60.0;
}

double julianDateUt(Instant instant)
{
    return 2440587.5 + instant / secondsPerDay;
}

double deltaT(Instant instant)
{
    const double y = 2000 + (julianDateUt(instant) - 2451545.0) / 365.25;
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - 0.000197 * t)));
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + t * (0.84493 + t * (-0.076100 + 0.0020936 * t));
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + t * (0.3345 + t * (-0.060374 +
                                          t * (0.0017275 + t * (0.000651814 + 0.00002373599 * t))));
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + t * (0.32217 + 0.005589 * t);
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

std::string dateText(const Date& date)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string isoUtc(Instant instant)
{
    const double whole = std::floor(instant + 0.5);
    const long long days = static_cast<long long>(std::floor(whole / secondsPerDay));
    const auto second = static_cast<int>(whole - static_cast<double>(days) * secondsPerDay);
    const Date date = dateOfDay(days);
    // A plan writes thousands of these; two digits at a time is far quicker than a format.
    char text[] = "0000-00-00T00:00:00Z";
    const std::pair<int, int> fields[] = {
        {0, date.year / 100}, {2, date.year % 100},   {5, date.month},  {8, date.day},
        {11, second / 3600},  {14, second / 60 % 60}, {17, second % 60}};
    for (const auto& [at, value] : fields) {
        text[at] = static_cast<char>('0' + value / 10);
        text[at + 1] = static_cast<char>('0' + value % 10);
    }
    if (date.year < 0 || date.year > 9999)
        return dateText(date) + (text + 10);
    return text;
}

std::string offsetText(int offsetMinutes)
{
    char text[16];
    const int size = std::abs(offsetMinutes);
    std::snprintf(text, sizeof text, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', size / 60,
                  size % 60);
    return text;
}

} // namespace vellmore::sky
