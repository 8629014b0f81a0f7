#include "table/exposuretable.h"
#include "table/night.h"

#include <nlohmann/json.hpp>

namespace vellmore::table {
namespace {

using Json = nlohmann::ordered_json;

Json number(const std::optional<double>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json rowJson(const Row& row, const Cell& cell)
{
    const bool speed = cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
    Json json;
    json["object"] = row.name;
    json["k"] = row.k;
    json["iso"] = cell.iso;
    json["altitude_deg"] = number(cell.altitude);
    json["air_mass"] = number(cell.airMass);
    json["exposure_s"] = number(cell.exposure);
    json["reciprocal"] = number(cell.reciprocal);
    json["shutter"] = cell.reciprocal ? Json(cell.shutter.label) : Json(nullptr);
    json["offset_stops"] = speed ? Json(cell.shutter.offsetStops) : Json(nullptr);
    json["bracket"] = cell.bracket;
    json["fault"] = cell.fault.empty() ? Json(nullptr) : Json(cell.fault);
    return json;
}

Json opticsJson(const ExposureTable& table)
{
    const calc::Figures& heading = table.heading.figures;
    Json optics;
    optics["telescope_fl_mm"] = table.optics[0];
    optics["eyepiece_fl_mm"] = table.optics[1];
    optics["camera_fl_mm"] = table.optics[2];
    optics["aperture_mm"] = table.optics[3];
    optics["magnification"] = heading.magnification;
    optics["system_fl_mm"] = heading.systemFL;
    optics["f_ratio"] = heading.fRatio;
    optics["image_scale_arcsec_per_px"] = number(table.imageScale);
    optics["field_arcmin"] =
        table.field ? Json::array({table.field->first, table.field->second}) : Json(nullptr);
    optics["sky_fault"] = table.skyFault.empty() ? Json(nullptr) : Json(table.skyFault);
    return optics;
}

// A plan's exposures, rounded so that every platform writes the same figures.
Json exposuresJson(const std::vector<Cell>& cells)
{
    Json exposures = Json::array();
    for (const Cell& cell : cells) {
        const bool speed = cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
        exposures.push_back(
            {{"iso", cell.iso},
             {"exposure_s", cell.exposure ? Json(significant(*cell.exposure, 6)) : Json(nullptr)},
             {"shutter", cell.reciprocal ? Json(cell.shutter.label) : Json(nullptr)},
             {"offset_stops", speed ? Json(rounded(cell.shutter.offsetStops, 2)) : Json(nullptr)},
             {"fault", cell.fault.empty() ? Json(nullptr) : Json(cell.fault)}});
    }
    return exposures;
}

// Names are UTF-8 already; the handler only keeps a stray byte from ever ending the program.
std::string dump(const Json& document)
{
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace

std::string renderJson(const ExposureTable& table)
{
    Json rows = Json::array();
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells)
            rows.push_back(rowJson(row, cell));
    }
    Json document;
    document["optics"] = opticsJson(table);
    document["rows"] = std::move(rows);
    return dump(document);
}

std::string renderNightJson(const ExposureTable& table, const NightPlan& plan)
{
    const NightOptions& o = plan.options;
    const auto when = [](const std::optional<sky::Instant>& t) {
        return t ? Json(sky::isoUtc(*t)) : Json(nullptr);
    };
    Json document;
    document["site"] = {{"latitude_deg", o.site.latitude},
                        {"longitude_deg", o.site.longitude},
                        {"height_m", o.site.height}};
    const std::string date = sky::dateText(o.date);
    document["night"] = {{"date", date},
                         {"utc_offset", sky::offsetText(o.offsetMinutes)},
                         {"sunset", when(plan.polar.empty() ? plan.sunset : std::nullopt)},
                         {"sunrise", when(plan.sunrise)},
                         {"polar", plan.polar.empty() ? Json(nullptr) : Json(plan.polar)}};
    document["moon"] = {{"illuminated", rounded(plan.moon.illuminated, 3)},
                        {"entry", plan.moon.entry.empty() ? Json(nullptr) : Json(plan.moon.entry)},
                        {"why", plan.moon.why.empty() ? Json(nullptr) : Json(plan.moon.why)}};
    document["optics"] = opticsJson(table);
    Json objects = Json::array();
    for (const PlanObject& object : plan.objects) {
        Json json;
        json["object"] = object.row->name;
        json["k"] = object.row->k;
        json["body"] = object.body ? Json(sky::bodyName(*object.body)) : Json(nullptr);
        if (!object.body) {
            json["note"] = "its place in the sky is not known";
            json["exposures"] = exposuresJson(object.row->cells);
            objects.push_back(std::move(json));
            continue;
        }
        const sky::Events& e = object.events;
        json["rise"] = when(e.rise);
        json["transit"] = when(e.transit);
        json["transit_altitude_deg"] =
            e.transit ? Json(rounded(e.transitAltitude, 2)) : Json(nullptr);
        json["set"] = when(e.set);
        Json rows = Json::array();
        for (const PlanRow& row : object.rows) {
            rows.push_back(
                {{"time", sky::isoUtc(row.time)},
                 {"altitude_deg", rounded(row.place.altitude, 2)},
                 {"azimuth_deg", rounded(row.place.azimuth, 2)},
                 {"sky", sky::skyName(row.sky)},
                 {"air_mass",
                  row.cells.empty() ? Json(nullptr) : Json(rounded(*row.cells.front().airMass, 3))},
                 {"exposures", exposuresJson(row.cells)}});
        }
        json["rows"] = std::move(rows);
        objects.push_back(std::move(json));
    }
    document["objects"] = std::move(objects);
    return dump(document);
}

} // namespace vellmore::table
