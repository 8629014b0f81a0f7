#pragma once

#include "sky/brightness.h"
#include "sky/events.h"
#include "table/exposuretable.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace vellmore::plan {

using table::Cell;
using table::ExposureTable;
using table::Row;

// What a night's plan is asked for: where, which night, in which local time, how often.
struct NightOptions
{
    sky::Site site;
    sky::Date date;        // the night begins on this date's evening
    int offsetMinutes = 0; // local time is UTC plus this
    int stepMinutes = 60;
    bool chart = false; // sample the altitudes finely enough for a chart too
};

// One step of the night for one object: where it stands, how dark the sky is, and the exposure
// at each film speed through the air at its altitude; none while it is below the horizon.
struct PlanRow
{
    sky::Instant time = 0;
    sky::Place place;
    sky::SkyState sky = sky::SkyState::Dark;
    double k = 0;            // the object's K at this step: the Moon's follows its phase
    std::vector<Cell> cells; // empty below the horizon
    sky::Disc disc;          // its size, phase and brightness at this step
};

struct PlanObject
{
    const Row* row = nullptr;      // the file's object, with its exposures at the zenith
    std::optional<sky::Body> body; // none: its place in the sky is not known
    sky::Events events;            // in the 24 hours from local noon
    sky::Disc disc;                // at local midnight
    std::vector<PlanRow> rows;
    std::vector<double> chartAltitudes; // at NightPlan::chartTimes
    std::vector<double> hourAltitudes;  // at NightPlan::chartHours
    std::vector<double> hourK;          // the object's K at NightPlan::chartHours
};

// Tonight's Moon at local midnight, the file's entry the plan names it by (the one whose named
// phase is nearest), and its K: where entries name a phase, the K of Krisciunas and Schaefer's
// law scaled to theirs, which follows the phase from step to step; else the entry's own.
struct MoonChoice
{
    double illuminated = 0;
    double phaseAngle = 0;       // degrees
    std::string entry;           // "" where the file has none
    std::optional<double> fullK; // the law's K at full Moon; none: the entry's K as it stands
    double k = 0;                // tonight's, at local midnight
    std::string why;
};

// The Moon's K at a phase angle (degrees) by the law scaled to `fullK`, to 2 decimals.
double moonK(double fullK, double phaseAngle);

struct NightPlan
{
    NightOptions options;
    std::optional<sky::Instant> sunset;
    std::optional<sky::Instant> sunrise;
    sky::Instant start = 0; // the span the rows cover
    sky::Instant end = 0;
    std::string polar; // why the plan covers the 24 hours from local noon; "" for a night
    MoonChoice moon;
    std::vector<PlanObject> objects;
    std::vector<sky::Instant> chartTimes; // every few minutes of the span, with a chart
    std::vector<sky::SkyState> chartSky;
    std::vector<sky::Instant> chartHours; // the whole local hours of the span, with a chart
};

// The night's plan for the objects of an exposure table (built without altitudes): the Moon,
// by the one of its entries nearest tonight's phase, and each planet, step by step through the
// night; every other object as the table has it.
NightPlan planNight(const ExposureTable& table, const NightOptions& options);

// A disc against the table's sensor: its diameter in pixels at the image scale, and whether it
// fits the sensor's shorter side and how many times across; each where the table has the sensor.
struct DiscOnSensor
{
    std::optional<double> pixels;
    std::optional<bool> fits;
    std::optional<double> timesAcross;
};
DiscOnSensor onSensor(const ExposureTable& table, const sky::Disc& disc);

// The phase an entry's name gives the Moon as a lit fraction: New 0, Crescent 0.25, Quarter and
// Half 0.5, Gibbous 0.75, Full 1, in any letter case; none where the name has no such word.
std::optional<double> namedPhase(const std::string& name);

// "HH:MM" local time, to the nearest minute.
std::string localClock(sky::Instant instant, int offsetMinutes);

// The plan as text, as one JSON document, as CSV (a row per object and time) and as an SVG
// chart of the objects' altitudes through the night.
std::string renderNightText(const ExposureTable& table, const NightPlan& plan);
std::string renderNightJson(const ExposureTable& table, const NightPlan& plan);
std::string renderNightCsv(const ExposureTable& table, const NightPlan& plan);
std::string renderNightSvg(const ExposureTable& table, const NightPlan& plan);

// The JSON document written to `out` as it is made, a piece at a time.
void writeNightJson(std::ostream& out, const ExposureTable& table, const NightPlan& plan);

} // namespace vellmore::plan
