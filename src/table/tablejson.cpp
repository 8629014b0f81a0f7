#include "table/tablejson.h"

#include "platform/jsonwriter.h"
#include "platform/numberformat.h"

namespace vellmore::table {

using platform::JsonWriter;

std::optional<std::string> unlessEmpty(const std::string& text)
{
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

// A shutter speed's film speed: the shutter as given and in seconds, the film speed for it and
// the marked ISO at or above.
void speedJson(JsonWriter& json, const Cell& cell, bool plan)
{
    json.key("shutter").value(cell.forShutter->text);
    json.key("shutter_s").value(cell.forShutter->seconds);
    json.key("iso_for_shutter");
    if (cell.speed)
        json.value(plan ? platform::significant(*cell.speed, 6) : *cell.speed);
    else
        json.null();
    json.key("iso").value(unlessEmpty(cell.speedMark));
    json.key("fault").value(unlessEmpty(cell.fault));
}

namespace {

void rowJson(JsonWriter& json, const Row& row, const Cell& cell)
{
    if (cell.forShutter) {
        json.beginObject();
        json.key("object").value(row.name);
        json.key("k").value(row.k);
        json.key("altitude_deg").value(cell.altitude);
        json.key("air_mass").value(cell.airMass);
        speedJson(json, cell, false);
        json.endObject();
        return;
    }
    const bool speed = cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
    json.beginObject();
    json.key("object").value(row.name);
    json.key("k").value(row.k);
    json.key("iso").value(cell.iso);
    json.key("altitude_deg").value(cell.altitude);
    json.key("air_mass").value(cell.airMass);
    json.key("exposure_s").value(cell.exposure);
    json.key("reciprocal").value(cell.reciprocal);
    json.key("shutter").value(cell.reciprocal ? std::optional<std::string>(cell.shutter.label)
                                              : std::nullopt);
    json.key("offset_stops")
        .value(speed ? std::optional<double>(cell.shutter.offsetStops) : std::nullopt);
    json.key("bracket").beginArray();
    for (const std::string& speedText : cell.bracket)
        json.value(speedText);
    json.endArray();
    json.key("fault").value(unlessEmpty(cell.fault));
    json.endObject();
}

} // namespace

void opticsJson(JsonWriter& json, const ExposureTable& table)
{
    const calc::Figures& heading = table.heading.figures;
    json.key("optics").beginObject();
    json.key("telescope_fl_mm").value(table.optics[0]);
    json.key("eyepiece_fl_mm").value(table.optics[1]);
    json.key("camera_fl_mm").value(table.optics[2]);
    json.key("aperture_mm").value(table.optics[3]);
    json.key("magnification").value(heading.magnification);
    json.key("system_fl_mm").value(heading.systemFL);
    json.key("f_ratio").value(heading.fRatio);
    json.key("image_scale_arcsec_per_px").value(table.imageScale);
    json.key("field_arcmin");
    if (table.field) {
        json.beginArray();
        json.value(table.field->first);
        json.value(table.field->second);
        json.endArray();
    } else {
        json.null();
    }
    json.key("sky_fault").value(unlessEmpty(table.skyFault));
    json.endObject();
}

std::string renderJson(const ExposureTable& table)
{
    JsonWriter json;
    json.beginObject();
    opticsJson(json, table);
    json.key("rows").beginArray();
    for (const Row& row : table.rows) {
        for (const Cell& cell : row.cells)
            rowJson(json, row, cell);
    }
    json.endArray();
    json.endObject();
    return json.finish();
}

} // namespace vellmore::table
