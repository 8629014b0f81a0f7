#include "plan/night.h"

#include "platform/csv.h"
#include "platform/numberformat.h"
#include "table/tablecsv.h"
#include "table/textlayout.h"

namespace vellmore::plan {

using platform::csvField;
using platform::csvLine;
using platform::csvNumber;
using platform::csvTextField;
using platform::rounded;
using platform::significant;
using table::Cell;
using table::cellsPerBlock;
using table::faultNote;
using table::isSpeed;
using table::shutterField;
using table::ShutterSpeed;

namespace {

// The film speeds' columns of a plan's row: the exposure, the shutter speed and its offset; for
// shutter speeds asked for, the film speed for each and its marked ISO.
void appendExposures(std::vector<std::string>& fields, const std::vector<Cell>& cells,
                     const table::Plan& plan)
{
    for (size_t i = 0; i < cellsPerBlock(plan); ++i) {
        const Cell* cell = i < cells.size() ? &cells[i] : nullptr;
        if (!plan.shutters.empty()) {
            fields.push_back(cell && cell->speed ? csvNumber(significant(*cell->speed, 6))
                                                 : std::string());
            fields.push_back(cell ? csvField(cell->speedMark) : std::string());
            continue;
        }
        fields.push_back(cell && cell->exposure ? csvNumber(significant(*cell->exposure, 6))
                                                : std::string());
        fields.push_back(cell ? shutterField(*cell) : std::string());
        fields.push_back(cell && isSpeed(*cell) ? csvNumber(rounded(cell->shutter.offsetStops, 2))
                                                : std::string());
    }
}

} // namespace

std::string renderNightCsv(const ExposureTable& table, const NightPlan& plan)
{
    const int offset = plan.options.offsetMinutes;
    std::vector<std::string> header = {"object",       "k",
                                       "body",         "time",
                                       "local_time",   "sky",
                                       "altitude_deg", "azimuth_deg",
                                       "air_mass",     "diameter_arcsec",
                                       "lit_fraction", "magnitude",
                                       "diameter_px",  "fits_sensor",
                                       "times_across"};
    for (const ShutterSpeed& shutter : table.plan.shutters) {
        for (const char* column : {"iso_for_shutter_", "iso_"})
            header.push_back(csvField(column + shutter.text));
    }
    for (size_t i = 0; table.plan.shutters.empty() && i < table.plan.isos.size(); ++i) {
        for (const char* column : {"exposure_s_iso", "shutter_iso", "offset_stops_iso"})
            header.push_back(column + csvNumber(table.plan.isos[i]));
    }
    header.emplace_back("note");
    std::string out = csvLine(header);
    for (const PlanObject& object : plan.objects) {
        const std::vector<std::string> named = {
            csvTextField(object.row->name), csvNumber(object.row->k),
            object.body ? sky::bodyName(*object.body) : std::string()};
        if (!object.body) {
            std::vector<std::string> fields = named;
            fields.resize(fields.size() + 12);
            appendExposures(fields, object.row->cells, table.plan);
            const std::string fault = faultNote(object.row->cells);
            fields.push_back(csvField(std::string("its place in the sky is not known; the ") +
                                      (table.plan.shutters.empty() ? "exposure" : "film speed") +
                                      " at the zenith" + (fault.empty() ? "" : "; " + fault)));
            out += csvLine(fields);
            continue;
        }
        for (const PlanRow& row : object.rows) {
            std::vector<std::string> fields = named;
            fields[1] = csvNumber(row.k); // the Moon's follows its phase
            fields.insert(fields.end(),
                          {sky::isoUtc(row.time), localClock(row.time, offset),
                           csvField(sky::skyName(row.sky)),
                           csvNumber(rounded(row.place.altitude, 2)),
                           csvNumber(rounded(row.place.azimuth, 2)),
                           row.cells.empty() ? std::string()
                                             : csvNumber(rounded(*row.cells.front().airMass, 3))});
            const DiscOnSensor on = onSensor(table, row.disc);
            const auto figure = [](const std::optional<double>& value, int decimals) {
                return value ? csvNumber(rounded(*value, decimals)) : std::string();
            };
            fields.insert(fields.end(),
                          {csvNumber(rounded(row.disc.diameter, 2)),
                           csvNumber(rounded(row.disc.litFraction, 3)),
                           figure(row.disc.magnitude, 2), figure(on.pixels, 1),
                           on.fits ? (*on.fits ? "yes" : "no") : "", figure(on.timesAcross, 2)});
            appendExposures(fields, row.cells, table.plan);
            fields.push_back(row.cells.empty() ? "below the horizon"
                                               : csvField(faultNote(row.cells)));
            out += csvLine(fields);
        }
    }
    return out;
}

} // namespace vellmore::plan
