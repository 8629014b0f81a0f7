#include "plan/night.h"
#include "platform/numberformat.h"
#include "table/textlayout.h"

#include <cmath>

namespace vellmore::plan {
namespace {

using platform::formatGeneral;
using platform::formatPattern;
using table::cellTexts;
using table::columnTitles;
using table::faultNote;
using table::groupWidth;
using table::laidOut;
using table::Line;
using table::objectLines;
using table::opticsHeading;
using table::shown;

std::string degrees(double value, char positive, char negative)
{
    return formatGeneral(std::fabs(value)) + " " + (value < 0 ? negative : positive);
}

std::string eventsLine(const PlanObject& object, int offset)
{
    const sky::Events& e = object.events;
    const auto at = [offset](const std::optional<sky::Instant>& t) {
        return t ? localClock(*t, offset) : std::string("none");
    };
    std::string line = "rises " + at(e.rise) + ", transits " + at(e.transit);
    if (e.transit)
        line += " at " + formatPattern(e.transitAltitude, 1) + " degrees";
    return line + ", sets " + at(e.set);
}

// The disc at midnight: its size, phase and brightness, and against the sensor.
std::string discLine(const ExposureTable& table, const sky::Disc& disc)
{
    std::string line = "Disc at midnight " + formatPattern(disc.diameter, 2) + "\" across, " +
                       formatPattern(disc.litFraction * 100, 1) + "% lit";
    if (disc.magnitude)
        line += ", magnitude " + formatPattern(*disc.magnitude, 2);
    const DiscOnSensor on = onSensor(table, disc);
    if (on.pixels)
        line += ", " + formatPattern(*on.pixels, 1) + " px";
    if (on.fits) {
        line += *on.fits
                    ? ", fits the sensor " + formatPattern(*on.timesAcross, 2) + " times across"
                    : ", wider than the sensor";
    }
    return line + "\n";
}

// An object's rows: local time, the sky, where it stands and the air it is seen through, then
// the exposure at each film speed; a row below the horizon says so instead.
std::string objectRows(const ExposureTable& table, const PlanObject& object, int offset)
{
    const bool bracket = table.plan.bracketStops > 0;
    std::vector<Line> lines = columnTitles(table, {"Time", "Sky", "Alt", "Az", "Air mass"});
    std::vector<std::string> notes(2);
    for (const PlanRow& row : object.rows) {
        Line cells = {localClock(row.time, offset), sky::skyName(row.sky),
                      formatPattern(row.place.altitude, 1), formatPattern(row.place.azimuth, 1)};
        if (row.cells.empty()) {
            lines.push_back(cells);
            notes.emplace_back("below the horizon");
            continue;
        }
        cells.push_back(formatPattern(*row.cells.front().airMass, 3));
        for (const Cell& cell : row.cells) {
            const Line texts = cellTexts(cell, bracket);
            cells.insert(cells.end(), texts.begin(), texts.end());
        }
        lines.push_back(cells);
        notes.push_back(faultNote(row.cells));
    }
    return laidOut(lines, notes, {false, false, true, true, true}, groupWidth(table));
}

} // namespace

std::string renderNightText(const ExposureTable& table, const NightPlan& plan)
{
    const NightOptions& o = plan.options;
    const int offset = o.offsetMinutes;
    std::string out = opticsHeading(table) + "\n";
    const std::string date = sky::dateText(o.date);
    out += "Night of " + date + " at " + degrees(o.site.latitude, 'N', 'S') + ", " +
           degrees(o.site.longitude, 'E', 'W') + ", " + formatGeneral(o.site.height) +
           " m; local time is UTC" + sky::offsetText(offset) + "\n";
    if (plan.polar.empty()) {
        out += "Sunset " + localClock(*plan.sunset, offset) + ", sunrise " +
               localClock(*plan.sunrise, offset) + "\n";
    } else {
        out += plan.polar + "; the plan covers the 24 hours from local noon.\n";
    }
    out += "The Moon is " + formatGeneral(std::round(plan.moon.illuminated * 100)) +
           "% lit at midnight";
    out += plan.moon.entry.empty()
               ? ".\n"
               : "; the plan uses " + shown(plan.moon.entry) + ": " + shown(plan.moon.why) + ".\n";

    std::vector<Row> unplaced;
    for (const PlanObject& object : plan.objects) {
        if (!object.body) {
            unplaced.push_back(*object.row);
            continue;
        }
        const bool byPhase = object.body == sky::Body::Moon && plan.moon.fullK;
        out += "\n" + shown(object.row->name) + " (K " +
               (byPhase ? formatGeneral(plan.moon.k) + " at midnight, by its phase"
                        : formatGeneral(object.row->k)) +
               "): " + eventsLine(object, offset) + "\n";
        out += discLine(table, object.disc);
        out += objectRows(table, object, offset);
    }
    if (!unplaced.empty()) {
        out += std::string("\nTheir place in the sky is not known; the ") +
               (table.plan.shutters.empty() ? "exposures" : "film speeds") + " at the zenith:\n";
        std::vector<std::string> notes;
        out += laidOut(objectLines(table, unplaced, 0, notes), notes, {false, true},
                       groupWidth(table));
    }
    return out;
}

} // namespace vellmore::plan
