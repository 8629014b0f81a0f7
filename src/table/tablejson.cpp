#include "table/exposuretable.h"

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

} // namespace

std::string renderJson(const ExposureTable& table)
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

    Json rows = Json::array();
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells)
            rows.push_back(rowJson(row, cell));
    }
    Json document;
    document["optics"] = std::move(optics);
    document["rows"] = std::move(rows);
    // Names are UTF-8 already; the handler only keeps a stray byte from ever ending the program.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace vellmore::table
