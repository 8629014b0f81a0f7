#include "table/exposuretable.h"

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

} // namespace

std::string renderCsv(const ExposureTable& table)
{
    std::string out = "object,k,iso,altitude_deg,air_mass,exposure_s,reciprocal,shutter,"
                      "offset_stops,bracket,fault\r\n";
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells) {
            const bool speed = cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
            const std::string fields[] = {
                nameField(row.name),
                fullPrecision(row.k),
                fullPrecision(cell.iso),
                fullPrecision(cell.altitude),
                fullPrecision(cell.airMass),
                fullPrecision(cell.exposure),
                fullPrecision(cell.reciprocal),
                cell.reciprocal ? csvField(speed ? seconds(cell.shutter.label) : cell.shutter.label)
                                : std::string(),
                speed ? fullPrecision(cell.shutter.offsetStops) : std::string(),
                csvField(bracketField(cell.bracket)),
                csvField(cell.fault),
            };
            for (size_t i = 0; i < std::size(fields); ++i)
                out += (i ? "," : "") + fields[i];
            out += "\r\n";
        }
    }
    return out;
}

} // namespace vellmore::table
