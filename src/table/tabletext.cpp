#include "platform/encoding.h"
#include "platform/numberformat.h"
#include "table/planning.h"
#include "table/textlayout.h"

#include <algorithm>

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

// Columns are counted as a terminal draws them, so names in any script line up.
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

} // namespace

std::string shown(const std::string& name)
{
    return platform::utf8WithReplacement(name, platform::isControl);
}

std::string renderText(const ExposureTable& table)
{
    std::string out = opticsHeading(table);
    const std::vector<double>& altitudes = table.plan.altitudes;
    const size_t perGroup = groupWidth(table);
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
        const std::vector<Line> lines = objectLines(table, table.rows, block, notes);
        out += laidOut(lines, notes, {false, true}, perGroup);
    }
    return out;
}

std::string opticsHeading(const ExposureTable& table)
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

Line cellTexts(const Cell& cell, bool bracket)
{
    if (cell.forShutter)
        return {cell.speed ? formatPattern(*cell.speed, 1) : "-",
                cell.speedMark.empty() ? "-" : cell.speedMark};
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

std::vector<Line> columnTitles(const ExposureTable& table, const Line& leading)
{
    const bool bracket = table.plan.bracketStops > 0;
    std::vector<Line> lines = {Line(leading.size()), leading};
    for (const ShutterSpeed& shutter : table.plan.shutters) {
        lines[0].insert(lines[0].end(), {shutter.text + " s", ""});
        lines[1].insert(lines[1].end(), {"speed", "ISO"});
    }
    if (!table.plan.shutters.empty())
        return lines;
    for (const double iso : table.plan.isos) {
        lines[0].insert(lines[0].end(), {"ISO " + formatGeneral(iso), "", ""});
        lines[1].insert(lines[1].end(), {"seconds", "1/s", "shutter"});
        if (bracket) {
            lines[0].emplace_back();
            lines[1].emplace_back("bracket");
        }
    }
    return lines;
}

size_t groupWidth(const ExposureTable& table)
{
    return !table.plan.shutters.empty() ? 2 : table.plan.bracketStops > 0 ? 4 : 3;
}

std::string faultNote(const std::vector<Cell>& cells)
{
    std::string note;
    for (const Cell& cell : cells) {
        if (!cell.fault.empty() && note.find(cell.fault) == std::string::npos)
            note += (note.empty() ? "" : " ") + cell.fault;
    }
    return note;
}

std::string laidOut(const std::vector<Line>& lines, const std::vector<std::string>& notes,
                    const std::vector<bool>& rightLeading, size_t perGroup)
{
    const size_t leading = rightLeading.size();
    std::vector<size_t> widths(lines[1].size(), 0);
    for (size_t l = 0; l < lines.size(); ++l) {
        for (size_t c = 0; c < widths.size() && c < lines[l].size(); ++c) {
            if (l > 0 || c < leading)
                widths[c] = std::max(widths[c], platform::displayWidth(lines[l][c]));
        }
    }
    std::string out;
    for (size_t l = 0; l < lines.size(); ++l) {
        std::string line;
        for (size_t c = 0; c < lines[l].size(); ++c) {
            const bool right =
                l > 0 && (c < leading ? bool(rightLeading[c]) : (c - leading) % perGroup < 2);
            line += padded(lines[l][c], widths[c], right) + "  ";
        }
        out += rtrim(line + notes[l]) + "\n";
    }
    return out;
}

std::vector<Line> objectLines(const ExposureTable& table, const std::vector<Row>& rows,
                              size_t block, std::vector<std::string>& notes)
{
    const size_t size = cellsPerBlock(table.plan);
    const bool bracket = table.plan.bracketStops > 0;
    std::vector<Line> lines = columnTitles(table, {"Object", "K"});
    notes.assign(2, "");
    for (const Row& row : rows) {
        Line cells = {shown(row.name), formatGeneral(row.k)};
        const std::vector<Cell> inBlock(row.cells.begin() + long(block * size),
                                        row.cells.begin() + long((block + 1) * size));
        for (const Cell& cell : inBlock) {
            const Line texts = cellTexts(cell, bracket);
            cells.insert(cells.end(), texts.begin(), texts.end());
        }
        lines.push_back(cells);
        notes.push_back(faultNote(inBlock));
    }
    return lines;
}

} // namespace vellmore::table
