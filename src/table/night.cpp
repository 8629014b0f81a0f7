#include "table/night.h"

#include "platform/numberformat.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace vellmore::table {
namespace {

using sky::Instant;

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

std::string percent(double fraction)
{
    return platform::formatGeneral(std::round(fraction * 100)) + "%";
}

// Of several Moon entries, the one whose named phase lies nearest tonight's lit fraction.
MoonChoice chooseMoon(const std::vector<Row>& rows, double illuminated)
{
    MoonChoice choice;
    choice.illuminated = illuminated;
    std::vector<const Row*> moons;
    for (const Row& row : rows) {
        if (isMoonEntry(row))
            moons.push_back(&row);
    }
    if (moons.empty())
        return choice;
    choice.entry = moons.front()->name;
    if (moons.size() == 1) {
        choice.why = "the file's only entry for the Moon";
        return choice;
    }
    std::string phases;
    std::optional<double> chosen;
    for (const Row* moon : moons) {
        const std::optional<double> phase = namedPhase(moon->name);
        if (!phase)
            continue;
        phases += (phases.empty() ? "" : ", ") + moon->name + " " + percent(*phase);
        if (!chosen || std::fabs(*phase - illuminated) < std::fabs(*chosen - illuminated)) {
            chosen = phase;
            choice.entry = moon->name;
        }
    }
    choice.why = !chosen ? "no Moon entry names a phase, so the first is used"
                         : "its phase, " + percent(*chosen) +
                               " lit, is the nearest to tonight's of " + phases;
    return choice;
}

// The night from sunset to sunrise; where the Sun does not set, or does not rise again, the 24
// hours from local noon.
void spanNight(NightPlan& plan, Instant noon)
{
    const sky::Site& site = plan.options.site;
    const bool sunUpAtNoon = sky::skyAt(site, noon) == sky::SkyState::Daylight;
    plan.start = noon;
    plan.end = noon + sky::secondsPerDay;
    if (!sunUpAtNoon) {
        plan.polar = "The Sun does not rise today (polar night)";
        return;
    }
    plan.sunset = sky::eventsOf(sky::Body::Sun, site, noon, 24).set;
    if (!plan.sunset) {
        plan.polar = "The Sun does not set tonight (midnight sun)";
        return;
    }
    plan.sunrise = sky::eventsOf(sky::Body::Sun, site, *plan.sunset, 24).rise;
    if (!plan.sunrise) {
        plan.polar = "The Sun sets at " + localClock(*plan.sunset, plan.options.offsetMinutes) +
                     " and does not rise again within 24 hours (polar night)";
        return;
    }
    plan.start = *plan.sunset;
    plan.end = *plan.sunrise;
}

} // namespace

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

namespace {

// Written in the shortest form libstdc++ gives, which is the same everywhere, and read back.
double throughText(double value, std::chars_format format, int precision)
{
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, format, precision);
    double back = value;
    if (written.ec == std::errc())
        std::from_chars(text, written.ptr, back);
    return back;
}

} // namespace

double rounded(double value, int decimals)
{
    return throughText(value, std::chars_format::fixed, decimals);
}

double significant(double value, int digits)
{
    return throughText(value, std::chars_format::general, digits);
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
    spanNight(plan, noon);
    const sky::Date tomorrow = sky::dateOfDay(sky::daysSinceEpoch(options.date) + 1);
    plan.moon = chooseMoon(table.rows, sky::moonIlluminated(sky::instantOf(tomorrow, 0, offset)));

    // Rows on the step's whole minutes of local time, counted from the date's local midnight.
    const Instant midnight = sky::instantOf(options.date, 0, offset);
    const double step = options.stepMinutes * 60.0;
    std::vector<Instant> times;
    for (Instant t = midnight + std::ceil((plan.start - midnight) / step) * step; t <= plan.end;
         t += step)
        times.push_back(t);
    std::vector<sky::SkyState> skies;
    for (const Instant t : times)
        skies.push_back(sky::skyAt(options.site, t));
    if (options.chart) {
        for (Instant t = plan.start; t < plan.end; t += chartStepSeconds)
            plan.chartTimes.push_back(t);
        plan.chartTimes.push_back(plan.end);
        for (const Instant t : plan.chartTimes)
            plan.chartSky.push_back(sky::skyAt(options.site, t));
    }

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
        if (object.body) {
            object.events = sky::eventsOf(*object.body, options.site, noon, 24);
            for (size_t i = 0; i < times.size(); ++i) {
                PlanRow planRow;
                planRow.time = times[i];
                planRow.place = sky::placeOf(*object.body, options.site, times[i]);
                planRow.sky = skies[i];
                if (planRow.place.altitude > 0) {
                    for (const double iso : table.plan.isos)
                        planRow.cells.push_back(cellFor(table, row.k, iso, planRow.place.altitude));
                }
                object.rows.push_back(std::move(planRow));
            }
            for (const Instant t : plan.chartTimes)
                object.chartAltitudes.push_back(
                    sky::placeOf(*object.body, options.site, t).altitude);
        }
        plan.objects.push_back(std::move(object));
    }
    return plan;
}

} // namespace vellmore::table
