#include "table/exposuretable.h"

#include <charconv>

namespace vellmore::table {
namespace {

// Shortest text that reads back as the same double, whatever the locale.
std::string fullPrecision(double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string fullPrecision(const std::optional<double>& value)
{
    return value ? fullPrecision(*value) : std::string();
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

} // namespace

std::string renderCsv(const ExposureTable& table)
{
    std::string out = "object,k,iso,altitude_deg,air_mass,exposure_s,reciprocal,shutter,"
                      "offset_stops,bracket\r\n";
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells) {
            std::vector<std::string> fields = {
                csvField(row.name),          fullPrecision(row.k),
                fullPrecision(cell.iso),     fullPrecision(cell.altitude),
                fullPrecision(cell.airMass), fullPrecision(cell.exposure),
            };
            // The first figure that could not be worked out holds the reason instead.
            if (!cell.exposure) {
                fields.back() = csvField(cell.fault);
            } else if (!cell.reciprocal) {
                fields.push_back(csvField(cell.fault));
            } else {
                fields.push_back(fullPrecision(cell.reciprocal));
                fields.push_back(csvField(cell.shutter.label));
                if (cell.shutter.kind == ShutterChoice::Kind::Speed)
                    fields.push_back(fullPrecision(cell.shutter.offsetStops));
            }
            fields.resize(10);
            fields[9] = csvField(speedList(cell.bracket));
            std::string line;
            for (size_t i = 0; i < fields.size(); ++i)
                line += (i ? "," : "") + fields[i];
            out += line + "\r\n";
        }
    }
    return out;
}

} // namespace vellmore::table
