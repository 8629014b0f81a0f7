#include "platform/numberformat.h"
#include "table/exposuretable.h"

#include <algorithm>
#include <charconv>

namespace vellmore::table {
namespace {

using calc::Input;
using platform::formatGeneral;
using platform::formatPattern;

// The exposure, reciprocal and shutter texts of one cell, "-" where the calculation stopped.
std::array<std::string, 3> cellTexts(const Cell& cell)
{
    std::array<std::string, 3> texts = {"-", "-", "-"};
    const calc::Figures& f = cell.calculation.figures;
    const size_t published = cell.calculation.published.size();
    if (published >= 4)
        texts[0] = formatPattern(f.exposure, 5);
    if (published == 5) {
        texts[1] = "1/" + formatPattern(f.reciprocal, 2);
        texts[2] = cell.shutter.label;
        if (cell.shutter.kind == ShutterChoice::Kind::Speed)
            texts[2] += " " + offsetText(cell.shutter.offsetStops);
    }
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

// Shortest text that reads back as the same double, whatever the locale.
std::string fullPrecision(double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
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

} // namespace

std::string renderText(const ExposureTable& table)
{
    const auto& o = table.optics;
    const calc::Figures& h = table.heading.figures;
    std::string out = "Telescope " + formatGeneral(o[0]) + " mm, eyepiece " + formatGeneral(o[1]) +
                      " mm, camera lens " + formatGeneral(o[2]) + " mm, aperture " +
                      formatGeneral(o[3]) + " mm\n";
    out += "Magnification " + formatPattern(h.magnification, 2) + "X, system focal length " +
           formatPattern(h.systemFL, 2) + " mm, f ratio " + formatPattern(h.fRatio, 2) + "\n\n";

    // Cells as text first, so that every column can be as wide as its widest cell.
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> groups = {"", ""};
    std::vector<std::string> header = {"Object", "K"};
    for (const double iso : table.isos) {
        groups.insert(groups.end(), {"ISO " + formatGeneral(iso), "", ""});
        header.insert(header.end(), {"seconds", "1/s", "shutter"});
    }
    lines.push_back(groups);
    lines.push_back(header);
    std::vector<std::string> notes = {"", ""};
    for (const Row& row : table.rows) {
        std::vector<std::string> cells = {row.name, formatGeneral(row.k)};
        std::string note;
        for (const Cell& cell : row.cells) {
            const auto texts = cellTexts(cell);
            cells.insert(cells.end(), texts.begin(), texts.end());
            if (!cell.fault.empty() && note.find(cell.fault) == std::string::npos)
                note += (note.empty() ? "" : " ") + cell.fault;
        }
        lines.push_back(cells);
        notes.push_back(note);
    }

    std::vector<size_t> widths(header.size(), 0);
    for (size_t l = 0; l < lines.size(); ++l) {
        for (size_t c = 0; c < widths.size(); ++c) {
            // A group title may run over the columns of its group.
            if (l > 0 || c < 2)
                widths[c] = std::max(widths[c], lines[l][c].size());
        }
    }
    for (size_t l = 0; l < lines.size(); ++l) {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c) {
            const bool right = l > 0 && (c == 1 || (c >= 2 && (c - 2) % 3 != 2));
            line += padded(lines[l][c], widths[c], right) + "  ";
        }
        out += rtrim(line + notes[l]) + "\n";
    }
    return out;
}

std::string renderCsv(const ExposureTable& table)
{
    std::string out = "object,k,iso,exposure_s,reciprocal,shutter,offset_stops\r\n";
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells) {
            const calc::Figures& f = cell.calculation.figures;
            const size_t published = cell.calculation.published.size();
            std::vector<std::string> fields = {csvField(row.name), fullPrecision(row.k),
                                               fullPrecision(cell.iso)};
            // The first figure that could not be worked out holds the reason instead.
            if (published >= 4)
                fields.push_back(fullPrecision(f.exposure));
            if (published == 5) {
                fields.push_back(fullPrecision(f.reciprocal));
                fields.push_back(csvField(cell.shutter.label));
                if (cell.shutter.kind == ShutterChoice::Kind::Speed)
                    fields.push_back(fullPrecision(cell.shutter.offsetStops));
            } else {
                fields.push_back(csvField(cell.fault));
            }
            fields.resize(7);
            std::string line;
            for (size_t i = 0; i < fields.size(); ++i)
                line += (i ? "," : "") + fields[i];
            out += line + "\r\n";
        }
    }
    return out;
}

} // namespace vellmore::table
