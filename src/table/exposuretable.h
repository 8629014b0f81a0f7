#pragma once

#include "calc/exposure.h"
#include "settings/loader.h"
#include "table/shutter.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vellmore::table {

// A shutter speed to find the film speed for: as it was written ("1/250", "0.004") and in
// seconds.
struct ShutterSpeed
{
    std::string text;
    double seconds = 0;
};

// What a night's plan asks for besides the window's figures.
struct Plan
{
    std::vector<double> isos;           // film speeds; none: the file's FilmISO
    std::vector<ShutterSpeed> shutters; // with these, each cell is the film speed for one
    std::vector<double> altitudes; // degrees above the horizon; none: the window's figures alone
    double extinction = 0.25;      // magnitudes per air mass
    int bracketStops = 0;          // full stops either side of each shutter speed; 0: none
    std::optional<double> pixelMicrons;
    std::optional<std::pair<double, double>> sensorMm; // width, height
};

// One object at one film speed (and altitude): the figures, and why any are missing.
struct Cell
{
    double iso = 0;
    std::optional<double> altitude; // degrees
    std::optional<double> airMass;
    std::optional<double> exposure;   // seconds
    std::optional<double> reciprocal; // 1 / seconds
    ShutterChoice shutter;            // with a reciprocal
    std::vector<std::string> bracket; // with a reciprocal and a bracket asked for
    std::string fault;                // the window's message for the first figure missing
    // With shutter speeds asked for: the one this cell is for, the film speed that gives it,
    // S = N^2 / (K t) through the air, and the marked third-stop ISO at or above S.
    std::optional<ShutterSpeed> forShutter;
    std::optional<double> speed;
    std::string speedMark; // "400", "above 102400"
};

struct Row
{
    std::string name; // without its trailing "="
    double k = 0;
    std::vector<Cell> cells; // for each altitude asked for, one per film speed, in order given
};

struct ExposureTable
{
    std::array<double, calc::inputCount> optics{};  // K and ISO unused
    calc::Calculation heading;                      // the optics alone (K = ISO = 1)
    Plan plan;                                      // with the film speeds worked out
    std::optional<double> imageScale;               // arc seconds per pixel
    std::optional<std::pair<double, double>> field; // arc minutes, width and height
    std::string skyFault; // why the image scale and field asked for could not be worked out
    std::vector<Row> rows;
};

// The optics as the window would hold them: its design-time texts, then the file's settings.
std::array<std::string, calc::inputCount> fieldTexts(const settings::LoadResult& settings);

// Works out every object at every film speed and altitude with the window's own calculation;
// an altitude multiplies the exposure by the extinction factor of its air mass. A fault in the
// optics themselves stops the table: its message is returned instead.
struct Built
{
    ExposureTable table;
    std::optional<std::string> opticsFault;
};
Built buildTable(const settings::LoadResult& settings, const Plan& plan);

// One object at one film speed, as a table's cells are worked out: through the air at
// `altitude` degrees (above 0), or with the window's own figures where there is none.
Cell cellFor(const ExposureTable& table, double k, double iso, std::optional<double> altitude);

// The same from the window's calculation for the object and film speed, which every altitude
// shares: a night's plan works it out once for all its rows.
calc::Calculation objectCalculation(const ExposureTable& table, double k, double iso);
Cell cellFor(const ExposureTable& table, const calc::Calculation& zenith, double iso,
             std::optional<double> altitude);

// The film speed for a shutter speed, through the air at `altitude` degrees (above 0) or at the
// zenith where there is none.
Cell speedCellFor(const ExposureTable& table, double k, const ShutterSpeed& shutter,
                  std::optional<double> altitude);

// A row's cells at each altitude: one per film speed, or one per shutter speed where those were
// asked for.
size_t cellsPerBlock(const Plan& plan);

// Column-aligned text: a heading with the optics, then one row per object (a set of rows for
// each altitude).
std::string renderText(const ExposureTable& table);

// A header and one row per object, film speed and altitude, numbers at full precision; a number
// column holds a number or nothing, and the row's reason is in the last column, "fault".
std::string renderCsv(const ExposureTable& table);

// One JSON document with the optics and a row per object, film speed and altitude; a figure that
// cannot be worked out is null, with the reason beside it.
std::string renderJson(const ExposureTable& table);

} // namespace vellmore::table
