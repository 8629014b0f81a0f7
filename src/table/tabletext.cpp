#include "platform/encoding.h"
#include "platform/numberformat.h"
#include "table/exposuretable.h"
#include "table/planning.h"

#include <algorithm>

namespace vellmore::table {
namespace {

using platform::formatGeneral;
using platform::formatPattern;
using Line = std::vector<std::string>;

std::string shutterText(const Cell& cell)
{
    if (cell.shutter.kind != ShutterChoice::Kind::Speed)
        return cell.shutter.label;
    return cell.shutter.label + " " + offsetText(cell.shutter.offsetStops);
}

// The seconds, reciprocal, shutter (and bracket) texts of one cell, "-" where a figure is missing.
Line cellTexts(const Cell& cell, bool bracket)
{
    Line texts = {"-", "-", "-"};
    if (cell.exposure)
        texts[0] = formatPattern(*cell.exposure, 5);
    if (cell.reciprocal) {
        texts[1] = "1/" + formatPattern(*cell.reciprocal, 2);
        texts[2] = shutterText(cell);
    }
    if (bracket)
        texts.push_back(cell.bracket.empty() ? "-" : speedList(cell.bracket));
    return texts;
}

// Columns are counted in characters, so names in any script line up.
std::string padded(const std::string& text, size_t width, bool right)
{
    const size_t length = platform::displayWidth(text);
    const std::string fill(width > length ? width - length : 0, ' ');
    return right ? fill + text : text + fill;
}

std::string rtrim(std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// The optics, and the sky a pixel and the sensor see where they were given.
std::string heading(const ExposureTable& table)
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
    if (!table.skyFault.empty())
        out += table.skyFault + "\n";
    return out;
}

// The cells of one block as text: a line of group titles, a line of column names, then a line
// per object; `notes` gets what follows each line, the reasons of a row's faults.
std::vector<Line> blockCells(const ExposureTable& table, size_t block,
                             std::vector<std::string>& notes)
{
    const std::vector<double>& isos = table.plan.isos;
    const bool bracket = table.plan.bracketStops > 0;
    std::vector<Line> lines = {{"", ""}, {"Object", "K"}};
    for (const double iso : isos) {
        lines[0].insert(lines[0].end(), {"ISO " + formatGeneral(iso), "", ""});
        lines[1].insert(lines[1].end(), {"seconds", "1/s", "shutter"});
        if (bracket) {
            lines[0].emplace_back();
            lines[1].emplace_back("bracket");
        }
    }
    notes.assign(2, "");
    for (const Row& row : table.rows) {
        Line cells = {row.name, formatGeneral(row.k)};
        std::string note;
        for (size_t i = 0; i < isos.size(); ++i) {
            const Cell& cell = row.cells[block * isos.size() + i];
            const Line texts = cellTexts(cell, bracket);
            cells.insert(cells.end(), texts.begin(), texts.end());
            // A reason shows once in its row, however many film speeds meet it.
            if (!cell.fault.empty() && note.find(cell.fault) == std::string::npos)
                note += (note.empty() ? "" : " ") + cell.fault;
        }
        lines.push_back(cells);
        notes.push_back(note);
    }
    return lines;
}

// Lines in columns as wide as their widest cell, numbers right-aligned (K, seconds and 1/s of
// each group of `perGroup` columns), each line followed by its note.
std::string laidOut(const std::vector<Line>& lines, const std::vector<std::string>& notes,
                    size_t perGroup)
{
    std::vector<size_t> widths(lines[1].size(), 0);
    for (size_t l = 0; l < lines.size(); ++l) {
        for (size_t c = 0; c < widths.size(); ++c) {
            // A group title may run over the columns of its group.
            if (l > 0 || c < 2)
                widths[c] = std::max(widths[c], platform::displayWidth(lines[l][c]));
        }
    }
    std::string out;
    for (size_t l = 0; l < lines.size(); ++l) {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c) {
            const bool right = l > 0 && (c == 1 || (c >= 2 && (c - 2) % perGroup < 2));
            line += padded(lines[l][c], widths[c], right) + "  ";
        }
        out += rtrim(line + notes[l]) + "\n";
    }
    return out;
}

} // namespace

std::string renderText(const ExposureTable& table)
{
    std::string out = heading(table);
    const std::vector<double>& altitudes = table.plan.altitudes;
    const size_t perGroup = table.plan.bracketStops > 0 ? 4 : 3;
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
        std::vector<std::string> notes;
        const std::vector<Line> lines = blockCells(table, block, notes);
        out += laidOut(lines, notes, perGroup);
    }
    return out;
}

} // namespace vellmore::table
