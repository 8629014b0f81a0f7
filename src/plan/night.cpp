#include "plan/night.h"

#include "platform/numberformat.h"
#include "sky/brightness.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

namespace vellmore::plan {
namespace {

using platform::rounded;
using sky::Instant;
using table::cellFor;
using table::objectCalculation;
using table::ShutterSpeed;
using table::speedCellFor;

constexpr double chartStepSeconds = 300;

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isMoonEntry(const Row& row)
{
    return lower(row.name).find("moon") != std::string::npos;
}

// An object's K at a frame's instant: the Moon's by its phase where the plan scales it so, else
// the file's.
double kAt(const NightPlan& plan, const PlanObject& object, const sky::Sky& sky,
           const sky::Frame& frame)
{
    if (object.body == sky::Body::Moon && plan.moon.fullK)
        return moonK(*plan.moon.fullK, sky::moonPhaseAngle(sky, frame));
    return object.row->k;
}

// The calendar year with its fraction, for Neptune's slow change of brightness.
double yearOf(Instant t)
{
    return 1970 + t / (365.2425 * sky::secondsPerDay);
}

// The phase angle (degrees) of a disc with the lit fraction `lit`.
double phaseAngleOf(double lit)
{
    return std::acos(std::clamp(2 * lit - 1, -1.0, 1.0)) * 180 / 3.14159265358979323846;
}

// Of several Moon entries, the one whose named phase lies nearest tonight's lit fraction names
// the Moon. Its K comes from the law, scaled by the geometric mean of K / law over the entries
// that name a phase within the law's reach; with none, it is the named entry's own.
MoonChoice chooseMoon(const std::vector<Row>& rows, double phaseAngle)
{
    MoonChoice choice;
    choice.phaseAngle = phaseAngle;
    choice.illuminated = sky::litFraction(phaseAngle);
    std::vector<const Row*> moons;
    for (const Row& row : rows) {
        if (isMoonEntry(row))
            moons.push_back(&row);
    }
    if (moons.empty())
        return choice;
    const Row* named = moons.front();
    std::optional<double> chosen;
    std::string scaledTo;
    double logScale = 0;
    int scaling = 0;
    for (const Row* moon : moons) {
        const std::optional<double> phase = namedPhase(moon->name);
        if (!phase)
            continue;
        if (!chosen ||
            std::fabs(*phase - choice.illuminated) < std::fabs(*chosen - choice.illuminated)) {
            chosen = phase;
            named = moon;
        }
        const double angle = phaseAngleOf(*phase);
        if (angle <= sky::moonLawLimit && moon->k > 0) {
            scaledTo += (scaledTo.empty() ? "" : ", ") + moon->name + " " +
                        platform::formatGeneral(moon->k);
            logScale += std::log(moon->k / sky::moonSurfaceBrightness(angle));
            ++scaling;
        }
    }
    choice.entry = named->name;
    if (scaling == 0) {
        choice.k = named->k;
        choice.why = moons.size() == 1 ? "the file's only entry for the Moon, its K as it stands"
                                       : "no Moon entry names a phase the law reaches, so the "
                                         "first is used, its K as it stands";
        return choice;
    }
    choice.fullK = std::exp(logScale / scaling);
    choice.k = moonK(*choice.fullK, phaseAngle);
    choice.why = "its K follows the phase by Krisciunas and Schaefer's law, scaled to " + scaledTo +
                 ": " + platform::formatGeneral(choice.k) + " tonight";
    if (phaseAngle > sky::moonLawLimit)
        choice.why += "; the Moon is too near the Sun for the law, so its K is the law's at 150 "
                      "degrees";
    return choice;
}

// The night from sunset to sunrise; where the Sun does not set, or does not rise again, the 24
// hours from local noon. `day` is the search grid of those 24 hours.
void spanNight(NightPlan& plan, const sky::Sky& sky, const sky::SearchGrid& day, Instant noon)
{
    plan.start = noon;
    plan.end = noon + sky::secondsPerDay;
    // The first sunset after local noon begins the night, even where the Sun is down at noon (a
    // local time far from the site's own): only a day with no sunset at all is polar.
    const sky::Events sun = sky::eventsOf(sky::Body::Sun, sky, day);
    plan.sunset = sun.set;
    if (!plan.sunset) {
        const bool upAtNoon = sky::skyAt(sky, day.frames.front()) == sky::SkyState::Daylight;
        plan.polar = upAtNoon ? "The Sun does not set tonight (midnight sun)"
                     : sun.rise
                         ? "The Sun rises at " + localClock(*sun.rise, plan.options.offsetMinutes) +
                               " and does not set within 24 hours (midnight sun)"
                         : "The Sun does not rise today (polar night)";
        return;
    }
    plan.sunrise = sky::firstRise(sky::Body::Sun, sky, *plan.sunset, 24);
    if (!plan.sunrise) {
        plan.polar = "The Sun sets at " + localClock(*plan.sunset, plan.options.offsetMinutes) +
                     " and does not rise again within 24 hours (polar night)";
        return;
    }
    plan.start = *plan.sunset;
    plan.end = *plan.sunrise;
}

} // namespace

DiscOnSensor onSensor(const ExposureTable& table, const sky::Disc& disc)
{
    DiscOnSensor on;
    if (table.imageScale && *table.imageScale > 0)
        on.pixels = disc.diameter / *table.imageScale;
    if (table.field && disc.diameter > 0) {
        const double side = std::min(table.field->first, table.field->second) * 60;
        on.fits = disc.diameter <= side;
        on.timesAcross = side / disc.diameter;
    }
    return on;
}

double moonK(double fullK, double phaseAngle)
{
    return rounded(fullK * sky::moonSurfaceBrightness(phaseAngle), 2);
}

std::optional<double> namedPhase(const std::string& name)
{
    const std::string text = lower(name);
    const std::pair<const char*, double> words[] = {{"new", 0},        {"crescent", 0.25},
                                                    {"quarter", 0.5},  {"half", 0.5},
                                                    {"gibbous", 0.75}, {"full", 1}};
    for (const auto& [word, phase] : words) {
        if (text.find(word) != std::string::npos)
            return phase;
    }
    return std::nullopt;
}

std::string localClock(Instant instant, int offsetMinutes)
{
    const auto minutes =
        static_cast<int>(std::lround(sky::localMinutes(instant, offsetMinutes))) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minutes / 60 % 100, minutes % 60);
    return text;
}

NightPlan planNight(const ExposureTable& table, const NightOptions& options)
{
    NightPlan plan;
    plan.options = options;
    const int offset = options.offsetMinutes;
    const Instant noon = sky::instantOf(options.date, 12 * 60, offset);
    // Every instant of the plan lies between local noon and the sunrise looked for in the 24
    // hours after sunset.
    const sky::Sky sky = sky::skyOver(options.site, noon, noon + 2 * sky::secondsPerDay);
    const sky::SearchGrid day = sky::searchGrid(sky, noon, 24);
    spanNight(plan, sky, day, noon);
    const sky::Date tomorrow = sky::dateOfDay(sky::daysSinceEpoch(options.date) + 1);
    plan.moon = chooseMoon(table.rows, sky::moonPhaseAngle(sky::instantOf(tomorrow, 0, offset)));

    std::vector<PlanObject*> placed;
    for (const Row& row : table.rows) {
        PlanObject object;
        object.row = &row;
        if (isMoonEntry(row)) {
            if (row.name != plan.moon.entry)
                continue; // the Moon is planned once, by the entry chosen for tonight
            object.body = sky::Body::Moon;
        } else {
            object.body = sky::bodyNamed(row.name);
        }
        if (object.body)
            object.events = sky::eventsOf(*object.body, sky, day);
        plan.objects.push_back(std::move(object));
    }
    const Instant tonight = sky::instantOf(tomorrow, 0, offset);
    const sky::Frame atMidnight = sky::frameAt(sky, tonight);
    for (PlanObject& object : plan.objects) {
        if (!object.body)
            continue;
        placed.push_back(&object);
        object.disc =
            sky::discOf(*object.body, sky::placeOf(*object.body, sky, atMidnight), yearOf(tonight));
    }

    // Rows on the step's whole minutes of local time, counted from the date's local midnight.
    const Instant midnight = sky::instantOf(options.date, 0, offset);
    const double step = options.stepMinutes * 60.0;
    const Instant first = midnight + std::ceil((plan.start - midnight) / step) * step;
    const auto rowCount = static_cast<size_t>(std::max(0.0, (plan.end - first) / step + 1));
    std::vector<std::vector<calc::Calculation>> zenith;
    for (PlanObject* object : placed) {
        object->rows.reserve(rowCount);
        zenith.emplace_back();
        for (const double iso : table.plan.isos)
            zenith.back().push_back(objectCalculation(table, object->row->k, iso));
    }
    for (Instant t = first; t <= plan.end; t += step) {
        const sky::Frame frame = sky::frameAt(sky, t);
        const sky::SkyState state = sky::skyAt(sky, frame);
        for (size_t i = 0; i < placed.size(); ++i) {
            PlanRow row;
            row.time = t;
            row.place = sky::placeOf(*placed[i]->body, sky, frame);
            row.sky = state;
            row.k = kAt(plan, *placed[i], sky, frame);
            row.disc = sky::discOf(*placed[i]->body, row.place, yearOf(t));
            const bool byPhase = placed[i]->body == sky::Body::Moon && plan.moon.fullK;
            if (row.place.altitude > 0 && !table.plan.shutters.empty()) {
                for (const ShutterSpeed& shutter : table.plan.shutters)
                    row.cells.push_back(speedCellFor(table, row.k, shutter, row.place.altitude));
            } else if (row.place.altitude > 0) {
                const std::vector<double>& isos = table.plan.isos;
                for (size_t s = 0; s < isos.size(); ++s) {
                    row.cells.push_back(
                        byPhase ? cellFor(table, row.k, isos[s], row.place.altitude)
                                : cellFor(table, zenith[i][s], isos[s], row.place.altitude));
                }
            }
            placed[i]->rows.push_back(std::move(row));
        }
    }
    if (options.chart) {
        for (Instant t = plan.start; t < plan.end; t += chartStepSeconds)
            plan.chartTimes.push_back(t);
        plan.chartTimes.push_back(plan.end);
        const double minutes = sky::localMinutes(plan.start, offset);
        for (Instant t = plan.start + (std::ceil(minutes / 60) * 60 - minutes) * 60; t <= plan.end;
             t += 3600)
            plan.chartHours.push_back(t);
        for (const Instant t : plan.chartTimes) {
            const sky::Frame frame = sky::frameAt(sky, t);
            plan.chartSky.push_back(sky::skyAt(sky, frame));
            for (PlanObject* object : placed)
                object->chartAltitudes.push_back(sky::placeOf(*object->body, sky, frame).altitude);
        }
        for (const Instant t : plan.chartHours) {
            const sky::Frame frame = sky::frameAt(sky, t);
            for (PlanObject* object : placed) {
                object->hourAltitudes.push_back(sky::placeOf(*object->body, sky, frame).altitude);
                object->hourK.push_back(kAt(plan, *object, sky, frame));
            }
        }
    }
    return plan;
}

} // namespace vellmore::plan
