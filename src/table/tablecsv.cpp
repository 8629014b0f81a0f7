#include "table/tablecsv.h"

#include "platform/csv.h"
#include "table/textlayout.h"

#include <iterator>

namespace vellmore::table {

using platform::csvField;
using platform::csvLine;
using platform::csvNumber;

namespace {

// A shutter speed with its unit: a spreadsheet takes a bare "1/8" for a date (8 January) and a
// bare "30" for a number, but keeps "1/8 s" and "30 s" as the text they are.
std::string seconds(const std::string& speed)
{
    return speed + " s";
}

std::string bracketField(const std::vector<std::string>& speeds)
{
    std::vector<std::string> marked;
    for (const std::string& speed : speeds)
        marked.push_back(seconds(speed));
    return speedList(marked);
}

} // namespace

bool isSpeed(const Cell& cell)
{
    return cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
}

std::string shutterField(const Cell& cell)
{
    if (!cell.reciprocal)
        return {};
    return csvField(isSpeed(cell) ? seconds(cell.shutter.label) : cell.shutter.label);
}

std::string renderCsv(const ExposureTable& table)
{
    if (!table.plan.shutters.empty()) {
        std::string out =
            "object,k,shutter,shutter_s,altitude_deg,air_mass,iso_for_shutter,iso,fault\r\n";
        for (const Row& row : table.rows) {
            for (const Cell& cell : row.cells) {
                out += csvLine({platform::csvTextField(row.name), csvNumber(row.k),
                                csvField(cell.forShutter->text),
                                csvNumber(cell.forShutter->seconds), csvNumber(cell.altitude),
                                csvNumber(cell.airMass), csvNumber(cell.speed),
                                csvField(cell.speedMark), csvField(cell.fault)});
            }
        }
        return out;
    }
    std::string out = "object,k,iso,altitude_deg,air_mass,exposure_s,reciprocal,shutter,"
                      "offset_stops,bracket,fault\r\n";
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells) {
            const bool speed = isSpeed(cell);
            const std::string fields[] = {
                platform::csvTextField(row.name),
                csvNumber(row.k),
                csvNumber(cell.iso),
                csvNumber(cell.altitude),
                csvNumber(cell.airMass),
                csvNumber(cell.exposure),
                csvNumber(cell.reciprocal),
                shutterField(cell),
                speed ? csvNumber(cell.shutter.offsetStops) : std::string(),
                csvField(bracketField(cell.bracket)),
                csvField(cell.fault),
            };
            out += csvLine({std::begin(fields), std::end(fields)});
        }
    }
    return out;
}

} // namespace vellmore::table
