#include "table/night.h"
#include "table/textlayout.h"

#include <charconv>
#include <iterator>
#include <string_view>

namespace vellmore::table {
namespace {

// Shortest text that reads back as the same double, whatever the locale.
std::string fullPrecision(const std::optional<double>& value)
{
    if (!value)
        return {};
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, *value);
    return std::string(buf, res.ptr);
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// A spreadsheet runs a cell that starts with one of these as a formula; a leading apostrophe
// makes it take the name as text.
std::string nameField(const std::string& name)
{
    const bool formula =
        !name.empty() && std::string_view("+-@\t\r").find(name[0]) != std::string_view::npos;
    return csvField(formula ? "'" + name : name);
}

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

std::string line(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + fields[i];
    return out + "\r\n";
}

// The film speeds' columns of a plan's row: the exposure, the shutter speed and its offset; for
// shutter speeds asked for, the film speed for each and its marked ISO.
void appendExposures(std::vector<std::string>& fields, const std::vector<Cell>& cells,
                     const Plan& plan)
{
    for (size_t i = 0; i < cellsPerBlock(plan); ++i) {
        const Cell* cell = i < cells.size() ? &cells[i] : nullptr;
        if (!plan.shutters.empty()) {
            fields.push_back(cell && cell->speed ? fullPrecision(significant(*cell->speed, 6))
                                                 : std::string());
            fields.push_back(cell ? csvField(cell->speedMark) : std::string());
            continue;
        }
        fields.push_back(cell && cell->exposure ? fullPrecision(significant(*cell->exposure, 6))
                                                : std::string());
        fields.push_back(cell ? shutterField(*cell) : std::string());
        fields.push_back(cell && isSpeed(*cell)
                             ? fullPrecision(rounded(cell->shutter.offsetStops, 2))
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
            header.push_back(column + fullPrecision(table.plan.isos[i]));
    }
    header.emplace_back("note");
    std::string out = line(header);
    for (const PlanObject& object : plan.objects) {
        const std::vector<std::string> named = {
            nameField(object.row->name), fullPrecision(object.row->k),
            object.body ? sky::bodyName(*object.body) : std::string()};
        if (!object.body) {
            std::vector<std::string> fields = named;
            fields.resize(fields.size() + 12);
            appendExposures(fields, object.row->cells, table.plan);
            const std::string fault = faultNote(object.row->cells);
            fields.push_back(csvField(std::string("its place in the sky is not known; the ") +
                                      (table.plan.shutters.empty() ? "exposure" : "film speed") +
                                      " at the zenith" + (fault.empty() ? "" : "; " + fault)));
            out += line(fields);
            continue;
        }
        for (const PlanRow& row : object.rows) {
            std::vector<std::string> fields = named;
            fields[1] = fullPrecision(row.k); // the Moon's follows its phase
            fields.insert(
                fields.end(),
                {sky::isoUtc(row.time), localClock(row.time, offset),
                 csvField(sky::skyName(row.sky)), fullPrecision(rounded(row.place.altitude, 2)),
                 fullPrecision(rounded(row.place.azimuth, 2)),
                 row.cells.empty() ? std::string()
                                   : fullPrecision(rounded(*row.cells.front().airMass, 3))});
            const DiscOnSensor on = onSensor(table, row.disc);
            const auto figure = [](const std::optional<double>& value, int decimals) {
                return value ? fullPrecision(rounded(*value, decimals)) : std::string();
            };
            fields.insert(fields.end(),
                          {fullPrecision(rounded(row.disc.diameter, 2)),
                           fullPrecision(rounded(row.disc.litFraction, 3)),
                           figure(row.disc.magnitude, 2), figure(on.pixels, 1),
                           on.fits ? (*on.fits ? "yes" : "no") : "", figure(on.timesAcross, 2)});
            appendExposures(fields, row.cells, table.plan);
            fields.push_back(row.cells.empty() ? "below the horizon"
                                               : csvField(faultNote(row.cells)));
            out += line(fields);
        }
    }
    return out;
}

std::string renderCsv(const ExposureTable& table)
{
    if (!table.plan.shutters.empty()) {
        std::string out =
            "object,k,shutter,shutter_s,altitude_deg,air_mass,iso_for_shutter,iso,fault\r\n";
        for (const Row& row : table.rows) {
            for (const Cell& cell : row.cells) {
                out += line({nameField(row.name), fullPrecision(row.k),
                             csvField(cell.forShutter->text),
                             fullPrecision(cell.forShutter->seconds), fullPrecision(cell.altitude),
                             fullPrecision(cell.airMass), fullPrecision(cell.speed),
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
                nameField(row.name),
                fullPrecision(row.k),
                fullPrecision(cell.iso),
                fullPrecision(cell.altitude),
                fullPrecision(cell.airMass),
                fullPrecision(cell.exposure),
                fullPrecision(cell.reciprocal),
                shutterField(cell),
                speed ? fullPrecision(cell.shutter.offsetStops) : std::string(),
                csvField(bracketField(cell.bracket)),
                csvField(cell.fault),
            };
            out += line({std::begin(fields), std::end(fields)});
        }
    }
    return out;
}

} // namespace vellmore::table
