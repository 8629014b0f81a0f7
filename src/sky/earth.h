#pragma once

#include "sky/calendar.h"
#include "sky/tabulated.h"

namespace vellmore::sky {

// What the Earth contributes to every body's place at an instant, none of it depending on the
// body: the celestial intermediate pole's X and Y and the CIO locator s (radians, IAU 2006/2000A),
// and the Earth's barycentric position and velocity and heliocentric position (au, au per day).
struct EarthState
{
    double x = 0;
    double y = 0;
    double s = 0;
    double barycentric[2][3] = {};
    double heliocentric[3] = {};
};

// TT as days from J2000.0, and TT - UT from the calendar's model of it.
double terrestrialTime(Instant instant);

// ERFA's full models at `tt` (days from J2000.0): Xys06a, with its 1,300-odd periodic terms,
// and Epv00.
EarthState earthStateAt(double tt);

// The Earth's state tabulated across a span of time. Made empty, it is the full models.
class EarthTable
{
public:
    EarthTable() = default;
    EarthTable(Instant from, Instant to);

    EarthState at(double tt) const;

private:
    Tabulated m_table;
};

} // namespace vellmore::sky
