#include "table/exposuretable.h"

#include "calc/faultmessage.h"
#include "platform/numberparse.h"
#include "settings/settingsfile.h"

namespace vellmore::table {
namespace {

using calc::Input;

double at(const std::array<double, calc::inputCount>& values, Input input)
{
    return values[static_cast<size_t>(input)];
}

} // namespace

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

Built buildTable(const settings::LoadResult& settings, const std::vector<double>& isos)
{
    Built built;
    ExposureTable& table = built.table;
    const auto texts = fieldTexts(settings);
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto input = static_cast<Input>(i);
        if (input == Input::K || (input == Input::FilmISO && !isos.empty()))
            continue;
        const platform::ParsedNumber parsed = platform::parseNumber(texts[i]);
        if (parsed.overflow) {
            const calc::Fault fault{calc::Step::ReadInputs, input};
            built.opticsFault = calc::describeFault(fault, {});
            return built;
        }
        table.optics[i] = parsed.value;
    }
    table.isos = isos.empty() ? std::vector<double>{at(table.optics, Input::FilmISO)} : isos;

    auto withObject = [&table](double k, double iso) {
        auto inputs = table.optics;
        inputs[static_cast<size_t>(Input::K)] = k;
        inputs[static_cast<size_t>(Input::FilmISO)] = iso;
        return calc::computeFromNumbers(inputs);
    };
    table.heading = withObject(1, 1);
    if (table.heading.fault && table.heading.fault->step <= calc::Step::FRatio) {
        built.opticsFault = calc::describeFault(*table.heading.fault, table.heading.figures);
        return built;
    }

    for (const settings::ObjectEntry& object : settings.objects) {
        Row row;
        row.name = object.name.substr(0, object.name.size() - 1);
        row.k = object.k;
        for (const double iso : table.isos) {
            Cell cell;
            cell.iso = iso;
            cell.calculation = withObject(object.k, iso);
            if (cell.calculation.fault)
                cell.fault = calc::describeFault(*cell.calculation.fault, cell.calculation.figures);
            else
                cell.shutter = nearestShutter(cell.calculation.figures.exposure);
            row.cells.push_back(std::move(cell));
        }
        table.rows.push_back(std::move(row));
    }
    return built;
}

} // namespace vellmore::table
