#include "table/exposuretable.h"

#include "calc/faultmessage.h"
#include "platform/numberformat.h"
#include "platform/numberparse.h"
#include "settings/settingsfile.h"
#include "table/planning.h"

#include <cmath>

namespace vellmore::table {
namespace {

using calc::Input;

double at(const std::array<double, calc::inputCount>& values, Input input)
{
    return values[static_cast<size_t>(input)];
}

// The window's figures for one object, taken through `factor` times the air of the zenith.
Cell makeCell(const calc::Calculation& zenith, double factor, int bracketStops)
{
    Cell cell;
    const calc::Figures& f = zenith.figures;
    const bool exposed = !zenith.fault || zenith.fault->step == calc::Step::Reciprocal;
    if (exposed && std::isfinite(f.exposure * factor))
        cell.exposure = f.exposure * factor;
    else if (exposed)
        cell.fault = calc::describeFault({calc::Step::Exposure}, f);
    if (zenith.fault && cell.fault.empty())
        cell.fault = calc::describeFault(*zenith.fault, f);
    if (!cell.fault.empty())
        return cell;

    const double reciprocal = 1.0 / *cell.exposure;
    if (!std::isfinite(reciprocal)) {
        cell.fault = calc::describeFault({calc::Step::Reciprocal}, f);
        return cell;
    }
    cell.reciprocal = reciprocal;
    cell.shutter = nearestShutter(*cell.exposure);
    cell.bracket = bracketSpeeds(cell.shutter, bracketStops);
    return cell;
}

} // namespace

// The window's calculation for the table's optics with an object's K and a film speed.
calc::Calculation objectCalculation(const ExposureTable& table, double k, double iso)
{
    auto inputs = table.optics;
    inputs[static_cast<size_t>(Input::K)] = k;
    inputs[static_cast<size_t>(Input::FilmISO)] = iso;
    return calc::computeFromNumbers(inputs, false);
}

std::array<std::string, calc::inputCount> fieldTexts(const settings::LoadResult& settings)
{
    // The window starts from its design-time texts, which are the default file's six settings.
    std::array<std::string, calc::inputCount> texts;
    auto apply = [&texts](const settings::LoadResult& source) {
        for (const settings::Assignment& assignment : source.assignments)
            texts[static_cast<size_t>(assignment.field)] = assignment.value;
    };
    apply(settings::parseSettings(settings::defaultContent()));
    apply(settings);
    return texts;
}

Built buildTable(const settings::LoadResult& settings, const Plan& plan)
{
    Built built;
    ExposureTable& table = built.table;
    table.plan = plan;
    const auto texts = fieldTexts(settings);
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto input = static_cast<Input>(i);
        if (input == Input::K || (input == Input::FilmISO && !plan.isos.empty()))
            continue;
        const platform::ParsedNumber parsed = platform::parseNumber(texts[i]);
        if (parsed.overflow) {
            built.opticsFault = calc::describeFault({calc::Step::ReadInputs, input}, {});
            return built;
        }
        table.optics[i] = parsed.value;
    }
    if (plan.isos.empty())
        table.plan.isos = {at(table.optics, Input::FilmISO)};

    table.heading = objectCalculation(table, 1, 1);
    if (table.heading.fault && table.heading.fault->step <= calc::Step::FRatio) {
        built.opticsFault = calc::describeFault(*table.heading.fault, table.heading.figures);
        return built;
    }
    const double systemFL = table.heading.figures.systemFL;
    if (!(systemFL > 0) && (plan.pixelMicrons || plan.sensorMm)) {
        // The sky a pixel sees shrinks with the focal length; at none or less there is no image.
        const char* what = !plan.sensorMm       ? "the image scale"
                           : !plan.pixelMicrons ? "the field of view"
                                                : "the image scale and the field of view";
        table.skyFault = std::string("Cannot work out ") + what + ": the system focal length is " +
                         platform::formatPattern(systemFL, 2) + " mm.";
    } else {
        if (plan.pixelMicrons)
            table.imageScale = imageScale(*plan.pixelMicrons, systemFL);
        if (plan.sensorMm) {
            table.field = {fieldOfView(plan.sensorMm->first, systemFL),
                           fieldOfView(plan.sensorMm->second, systemFL)};
        }
    }

    // Without altitudes one set of cells with the window's own figures (factor 1).
    std::vector<std::optional<double>> altitudes(plan.altitudes.begin(), plan.altitudes.end());
    if (altitudes.empty())
        altitudes.emplace_back();
    for (const settings::ObjectEntry& object : settings.objects) {
        Row row;
        row.name = object.name.substr(0, object.name.size() - 1);
        row.k = object.k;
        for (const std::optional<double>& altitude : altitudes) {
            for (const ShutterSpeed& shutter : table.plan.shutters)
                row.cells.push_back(speedCellFor(table, object.k, shutter, altitude));
            if (!table.plan.shutters.empty())
                continue;
            for (const double iso : table.plan.isos)
                row.cells.push_back(cellFor(table, object.k, iso, altitude));
        }
        table.rows.push_back(std::move(row));
    }
    return built;
}

Cell cellFor(const ExposureTable& table, double k, double iso, std::optional<double> altitude)
{
    return cellFor(table, objectCalculation(table, k, iso), iso, altitude);
}

Cell cellFor(const ExposureTable& table, const calc::Calculation& zenith, double iso,
             std::optional<double> altitude)
{
    const std::optional<double> mass =
        altitude ? std::optional<double>(airMass(*altitude)) : std::nullopt;
    const double factor = mass ? extinctionFactor(*mass, table.plan.extinction) : 1;
    Cell cell = makeCell(zenith, factor, table.plan.bracketStops);
    cell.iso = iso;
    cell.altitude = altitude;
    cell.airMass = mass;
    return cell;
}

Cell speedCellFor(const ExposureTable& table, double k, const ShutterSpeed& shutter,
                  std::optional<double> altitude)
{
    Cell cell;
    cell.forShutter = shutter;
    cell.altitude = altitude;
    if (altitude)
        cell.airMass = airMass(*altitude);
    const double factor = cell.airMass ? extinctionFactor(*cell.airMass, table.plan.extinction) : 1;
    // As the window works out the exposure: N^2 in long double, then over K and the time.
    const long double power =
        std::pow(static_cast<long double>(table.heading.figures.fRatio), 2.0L);
    const auto speed =
        static_cast<double>(power * factor / (static_cast<long double>(k) * shutter.seconds));
    if (!(k > 0)) {
        cell.fault = "Cannot work out the film speed: K is " + platform::formatGeneral(k) + ".";
    } else if (!std::isfinite(speed)) {
        cell.fault = "Cannot work out the film speed: it is beyond the number range.";
    } else {
        cell.speed = speed;
        cell.speedMark = isoAtOrAbove(speed);
    }
    return cell;
}

size_t cellsPerBlock(const Plan& plan)
{
    return plan.shutters.empty() ? plan.isos.size() : plan.shutters.size();
}

} // namespace vellmore::table
