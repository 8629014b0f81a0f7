#pragma once

#include <string>

namespace vellmore::sky {

// An instant: seconds since 1970-01-01 00:00 UTC, every day 86400 of them. That is civil time,
// which stays within a second of the Earth's own rotation (UT1).
using Instant = double;

constexpr double secondsPerDay = 86400;

// A date of the Gregorian calendar, for every year the plan covers and the years around them.
struct Date
{
    int year = 0;
    int month = 0;
    int day = 0;
};

bool isValidDate(const Date& date);

// Days since 1970-01-01, and back.
long long daysSinceEpoch(const Date& date);
Date dateOfDay(long long days);

// The instant of a local time on a date, where local time is UTC plus `offsetMinutes`.
Instant instantOf(const Date& date, int minutesOfDay, int offsetMinutes);

// The local date and minutes past local midnight of an instant.
Date localDate(Instant instant, int offsetMinutes);
double localMinutes(Instant instant, int offsetMinutes);

// The Julian date in UT of an instant, and TT - UT in seconds at it, by the polynomials of
// Espenak and Meeus (2006) for 1900 to 2150.
double julianDateUt(Instant instant);
double deltaT(Instant instant);

// "2026-12-07".
std::string dateText(const Date& date);

// "2026-12-07T15:52:04Z", to the nearest second.
std::string isoUtc(Instant instant);

// "+05:30", "-03:00", "+00:00".
std::string offsetText(int offsetMinutes);

} // namespace vellmore::sky
