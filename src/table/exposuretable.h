#pragma once

#include "calc/exposure.h"
#include "settings/loader.h"
#include "table/shutter.h"

#include <optional>
#include <string>
#include <vector>

namespace vellmore::table {

// One object at one film speed: the window's figures, or why there are none.
struct Cell
{
    double iso = 0;
    calc::Calculation calculation;
    ShutterChoice shutter; // for a calculation without fault
    std::string fault;     // the window's message, when the calculation stopped
};

struct Row
{
    std::string name; // without its trailing "="
    double k = 0;
    std::vector<Cell> cells; // one per film speed, in the order asked for
};

struct ExposureTable
{
    std::array<double, calc::inputCount> optics{}; // K and ISO unused
    calc::Calculation heading;                     // the optics alone (K = ISO = 1)
    std::vector<double> isos;
    std::vector<Row> rows;
};

// The optics as the window would hold them: its design-time texts, then the file's settings.
std::array<std::string, calc::inputCount> fieldTexts(const settings::LoadResult& settings);

// Works out every object at every film speed with the window's own calculation. A fault in the
// optics themselves stops the table: its message is returned instead.
struct Built
{
    ExposureTable table;
    std::optional<std::string> opticsFault;
};
Built buildTable(const settings::LoadResult& settings, const std::vector<double>& isos);

// Column-aligned text: a heading with the optics, then one row per object.
std::string renderText(const ExposureTable& table);

// A header and one row per object and film speed, numbers at full precision.
std::string renderCsv(const ExposureTable& table);

} // namespace vellmore::table
