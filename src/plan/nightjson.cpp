#include "plan/night.h"

#include "platform/jsonwriter.h"
#include "platform/numberformat.h"
#include "table/tablejson.h"

#include <cmath>

namespace vellmore::plan {

using platform::Decimal;
using platform::JsonWriter;
using platform::rounded;
using platform::roundedDecimal;
using platform::significant;
using table::Cell;
using table::opticsJson;
using table::ShutterChoice;
using table::speedJson;
using table::unlessEmpty;

namespace {

// A figure rounded to `decimals` places, written straight from its rounding where it can be.
void roundedValue(JsonWriter& json, double value, int decimals)
{
    const std::optional<Decimal> d = roundedDecimal(value, decimals);
    if (d && std::fabs(d->units) < 1e15)
        json.fixed(d->units, d->decimals);
    else
        json.value(rounded(value, decimals));
}

void roundedValue(JsonWriter& json, const std::optional<double>& value, int decimals)
{
    if (value)
        roundedValue(json, *value, decimals);
    else
        json.null();
}

// A plan's exposures, rounded so that every platform writes the same figures.
void exposuresJson(JsonWriter& json, const std::vector<Cell>& cells)
{
    json.key("exposures").beginArray();
    for (const Cell& cell : cells) {
        const bool speed = cell.reciprocal && cell.shutter.kind == ShutterChoice::Kind::Speed;
        json.beginObject();
        if (cell.forShutter) {
            speedJson(json, cell, true);
            json.endObject();
            continue;
        }
        json.key("iso").value(cell.iso);
        json.key("exposure_s");
        if (cell.exposure)
            json.value(significant(*cell.exposure, 6));
        else
            json.null();
        json.key("shutter").value(cell.reciprocal ? std::optional<std::string>(cell.shutter.label)
                                                  : std::nullopt);
        json.key("offset_stops");
        if (speed)
            roundedValue(json, cell.shutter.offsetStops, 2);
        else
            json.null();
        json.key("fault").value(unlessEmpty(cell.fault));
        json.endObject();
    }
    json.endArray();
}

// A disc's figures, the magnitude for planets; the pixels and the sensor where the table has
// them (those keys are left out where it has not).
void discFigures(JsonWriter& json, const ExposureTable& table, const sky::Disc& disc)
{
    json.key("diameter_arcsec");
    roundedValue(json, disc.diameter, 2);
    json.key("lit_fraction");
    roundedValue(json, disc.litFraction, 3);
    json.key("magnitude");
    roundedValue(json, disc.magnitude, 2);
    const DiscOnSensor on = onSensor(table, disc);
    if (table.plan.pixelMicrons) {
        json.key("diameter_px");
        roundedValue(json, on.pixels, 1);
    }
    if (table.plan.sensorMm) {
        json.key("fits_sensor");
        if (on.fits)
            json.value(*on.fits);
        else
            json.null();
        json.key("times_across");
        roundedValue(json, on.timesAcross, 2);
    }
}

void when(JsonWriter& json, const char* name, const std::optional<sky::Instant>& t)
{
    json.key(name);
    if (t)
        json.value(sky::isoUtc(*t));
    else
        json.null();
}

void nightJson(JsonWriter& json, const ExposureTable& table, const NightPlan& plan)
{
    const NightOptions& o = plan.options;
    json.beginObject();
    json.key("site").beginObject();
    json.key("latitude_deg").value(o.site.latitude);
    json.key("longitude_deg").value(o.site.longitude);
    json.key("height_m").value(o.site.height);
    json.endObject();
    json.key("night").beginObject();
    json.key("date").value(sky::dateText(o.date));
    json.key("utc_offset").value(sky::offsetText(o.offsetMinutes));
    when(json, "sunset", plan.polar.empty() ? plan.sunset : std::nullopt);
    when(json, "sunrise", plan.sunrise);
    json.key("polar").value(unlessEmpty(plan.polar));
    json.endObject();
    json.key("moon").beginObject();
    json.key("illuminated");
    roundedValue(json, plan.moon.illuminated, 3);
    json.key("phase_angle_deg");
    roundedValue(json, plan.moon.phaseAngle, 1);
    json.key("entry").value(unlessEmpty(plan.moon.entry));
    json.key("k").value(plan.moon.entry.empty() ? std::nullopt
                                                : std::optional<double>(plan.moon.k));
    json.key("k_full_moon");
    roundedValue(json, plan.moon.fullK, 2);
    json.key("why").value(unlessEmpty(plan.moon.why));
    json.endObject();
    opticsJson(json, table);
    json.key("objects").beginArray();
    for (const PlanObject& object : plan.objects) {
        json.beginObject();
        json.key("object").value(object.row->name);
        json.key("k").value(object.row->k);
        json.key("body");
        if (!object.body) {
            json.null();
            json.key("note").value("its place in the sky is not known");
            exposuresJson(json, object.row->cells);
            json.endObject();
            continue;
        }
        json.value(sky::bodyName(*object.body));
        const sky::Events& e = object.events;
        when(json, "rise", e.rise);
        when(json, "transit", e.transit);
        json.key("transit_altitude_deg");
        if (e.transit)
            roundedValue(json, e.transitAltitude, 2);
        else
            json.null();
        when(json, "set", e.set);
        json.key("disc").beginObject();
        discFigures(json, table, object.disc);
        json.endObject();
        json.key("rows").beginArray();
        for (const PlanRow& row : object.rows) {
            json.beginObject();
            json.key("time").value(sky::isoUtc(row.time));
            json.key("altitude_deg");
            roundedValue(json, row.place.altitude, 2);
            json.key("azimuth_deg");
            roundedValue(json, row.place.azimuth, 2);
            json.key("sky").value(sky::skyName(row.sky));
            json.key("k").value(row.k);
            json.key("air_mass");
            if (row.cells.empty())
                json.null();
            else
                roundedValue(json, *row.cells.front().airMass, 3);
            discFigures(json, table, row.disc);
            exposuresJson(json, row.cells);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

} // namespace

std::string renderNightJson(const ExposureTable& table, const NightPlan& plan)
{
    JsonWriter json;
    nightJson(json, table, plan);
    return json.finish();
}

void writeNightJson(std::ostream& out, const ExposureTable& table, const NightPlan& plan)
{
    JsonWriter json(out);
    nightJson(json, table, plan);
    json.finish();
}

} // namespace vellmore::plan
