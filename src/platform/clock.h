#pragma once

namespace vellmore::platform {

// Seconds since 1970-01-01 00:00 UTC now, from the system's clock.
double nowSeconds();

// This machine's local time zone: its offset from UTC in minutes at local noon of a date, by the
// zone's rules for that year (summer time included).
int localOffsetMinutes(int year, int month, int day);

} // namespace vellmore::platform
