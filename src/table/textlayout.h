#pragma once

#include "table/exposuretable.h"

#include <string>
#include <vector>

namespace vellmore::table {

// The pieces the exposure table and the night's plan are both laid out with as text.
using Line = std::vector<std::string>;

// A name as a terminal shows it: a control character in it, which the terminal would act on
// (or a tab, which would break the columns), as U+FFFD.
std::string shown(const std::string& name);

// The optics, and the sky a pixel and the sensor see where they were given.
std::string opticsHeading(const ExposureTable& table);

// A line of group titles ("ISO 100") and a line of column names, after the leading names.
std::vector<Line> columnTitles(const ExposureTable& table, const Line& leading);

// A line of group titles, a line of column names, then a line per row with its cells of one block
// of film speeds (one altitude's); `notes` gets what follows each line, the reasons of its faults.
std::vector<Line> objectLines(const ExposureTable& table, const std::vector<Row>& rows,
                              size_t block, std::vector<std::string>& notes);

// The seconds, reciprocal, shutter (and bracket) texts of one cell, or for a shutter speed the
// film speed and its marked ISO; "-" where a figure is missing.
Line cellTexts(const Cell& cell, bool bracket);

// The columns of a cell's group: 3, 4 with a bracket, 2 for a shutter speed's film speed.
size_t groupWidth(const ExposureTable& table);

// The reasons a row's cells give, each once, however many film speeds meet it.
std::string faultNote(const std::vector<Cell>& cells);

// Lines in columns as wide as their widest cell, each followed by its note. The leading columns
// are right-aligned where `rightLeading` says; in each film speed's group the seconds and 1/s
// are; a group's title on the first line may run over its group.
std::string laidOut(const std::vector<Line>& lines, const std::vector<std::string>& notes,
                    const std::vector<bool>& rightLeading, size_t perGroup);

} // namespace vellmore::table
