#include "platform/numberformat.h"
#include "table/exposuretable.h"
#include "table/planning.h"

#include <algorithm>
#include <charconv>

namespace vellmore::table {
namespace {

using platform::formatGeneral;
using platform::formatPattern;

std::string shutterText(const Cell& cell)
{
    if (cell.shutter.kind != ShutterChoice::Kind::Speed)
        return cell.shutter.label;
    return cell.shutter.label + " " + offsetText(cell.shutter.offsetStops);
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

// The seconds, reciprocal, shutter (and bracket) texts of one cell, "-" where a figure is missing.
std::vector<std::string> cellTexts(const Cell& cell, bool bracket)
{
    std::vector<std::string> texts = {"-", "-", "-"};
    if (cell.exposure)
        texts[0] = formatPattern(*cell.exposure, 5);
    if (cell.reciprocal) {
        texts[1] = "1/" + formatPattern(*cell.reciprocal, 2);
        texts[2] = shutterText(cell);
    }
    if (bracket)
        texts.push_back(cell.bracket.empty() ? "-" : joined(cell.bracket));
    return texts;
}

std::string padded(const std::string& text, size_t width, bool right)
{
    const std::string fill(width > text.size() ? width - text.size() : 0, ' ');
    return right ? fill + text : text + fill;
}

std::string rtrim(std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// The rows of one altitude (or of the zenith), one column group per film speed.
std::string renderBlock(const ExposureTable& table, size_t block)
{
    const std::vector<double>& isos = table.plan.isos;
    const bool bracket = table.plan.bracketStops > 0;
    const size_t perGroup = bracket ? 4 : 3;
    // Cells as text first, so that every column can be as wide as its widest cell.
    std::vector<std::vector<std::string>> lines(2, std::vector<std::string>(2));
    lines[1] = {"Object", "K"};
    for (const double iso : isos) {
        lines[0].insert(lines[0].end(), {"ISO " + formatGeneral(iso), "", ""});
        lines[1].insert(lines[1].end(), {"seconds", "1/s", "shutter"});
        if (bracket) {
            lines[0].emplace_back();
            lines[1].emplace_back("bracket");
        }
    }
    std::vector<std::string> notes(2);
    for (const Row& row : table.rows) {
        std::vector<std::string> cells = {row.name, formatGeneral(row.k)};
        std::string note;
        for (size_t i = 0; i < isos.size(); ++i) {
            const Cell& cell = row.cells[block * isos.size() + i];
            const auto texts = cellTexts(cell, bracket);
            cells.insert(cells.end(), texts.begin(), texts.end());
            // A reason shows once in its row, however many film speeds meet it.
            if (!cell.fault.empty() && note.find(cell.fault) == std::string::npos)
                note += (note.empty() ? "" : " ") + cell.fault;
        }
        lines.push_back(cells);
        notes.push_back(note);
    }

    std::vector<size_t> widths(lines[1].size(), 0);
    for (size_t l = 0; l < lines.size(); ++l) {
        for (size_t c = 0; c < widths.size(); ++c) {
            // A group title may run over the columns of its group.
            if (l > 0 || c < 2)
                widths[c] = std::max(widths[c], lines[l][c].size());
        }
    }
    std::string out;
    for (size_t l = 0; l < lines.size(); ++l) {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c) {
            // Numbers are right-aligned: K, seconds and 1/s.
            const bool right = l > 0 && (c == 1 || (c >= 2 && (c - 2) % perGroup < 2));
            line += padded(lines[l][c], widths[c], right) + "  ";
        }
        out += rtrim(line + notes[l]) + "\n";
    }
    return out;
}

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

std::string renderText(const ExposureTable& table)
{
    const auto& o = table.optics;
    const calc::Figures& h = table.heading.figures;
    std::string out = "Telescope " + formatGeneral(o[0]) + " mm, eyepiece " + formatGeneral(o[1]) +
                      " mm, camera lens " + formatGeneral(o[2]) + " mm, aperture " +
                      formatGeneral(o[3]) + " mm\n";
    out += "Magnification " + formatPattern(h.magnification, 2) + "X, system focal length " +
           formatPattern(h.systemFL, 2) + " mm, f ratio " + formatPattern(h.fRatio, 2) + "\n";
    std::vector<std::string> sky;
    if (table.imageScale)
        sky.push_back("image scale " + formatPattern(*table.imageScale, 3) + "\"/px");
    if (table.field) {
        sky.push_back("field of view " + formatPattern(table.field->first, 2) + "' x " +
                      formatPattern(table.field->second, 2) + "'");
    }
    if (!sky.empty()) {
        sky[0][0] = static_cast<char>(sky[0][0] - 'a' + 'A');
        out += sky[0] + (sky.size() > 1 ? ", " + sky[1] : "") + "\n";
    }

    const std::vector<double>& altitudes = table.plan.altitudes;
    for (size_t block = 0; block < std::max<size_t>(altitudes.size(), 1); ++block) {
        out += "\n";
        if (!altitudes.empty()) {
            const double mass = airMass(altitudes[block]);
            out += "At " + formatGeneral(altitudes[block]) + " degrees: air mass " +
                   formatPattern(mass, 3) + ", " +
                   formatPattern(extinctionFactor(mass, table.plan.extinction), 3) +
                   " times the zenith exposure (extinction " +
                   formatGeneral(table.plan.extinction) + " mag per air mass)\n";
        }
        out += renderBlock(table, block);
    }
    return out;
}

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
            fields[9] = csvField(joined(cell.bracket));
            std::string line;
            for (size_t i = 0; i < fields.size(); ++i)
                line += (i ? "," : "") + fields[i];
            out += line + "\r\n";
        }
    }
    return out;
}

} // namespace vellmore::table
