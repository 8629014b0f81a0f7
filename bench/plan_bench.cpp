// The night's plan as `vellmore-table --site ... --json` makes it, for the default settings: at
// Los Angeles on the night of 2026-12-07 at 1- and 60-minute steps, and through Tromso's 24-hour
// midnight sun of 2026-06-21 at 1-minute steps. The plan and its JSON are timed apart and
// together; the last line printed is the night at 1-minute steps, in milliseconds.
#include "plan/night.h"
#include "settings/loader.h"
#include "settings/settingsfile.h"
#include "table/exposuretable.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

namespace {

using namespace vellmore;

const table::ExposureTable& defaults()
{
    static const table::ExposureTable table =
        table::buildTable(settings::parseSettings(settings::defaultContent()), {}).table;
    return table;
}

// Where the program writes to /dev/null: every byte taken, none kept.
struct Discard : std::streambuf
{
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int overflow(int c) override { return c; }
};

void writeJson(const plan::NightPlan& plan)
{
    Discard discard;
    std::ostream out(&discard);
    plan::writeNightJson(out, defaults(), plan);
}

plan::NightOptions night(int step)
{
    return {{34.05, -118.25, 100}, {2026, 12, 7}, -8 * 60, step, false};
}

plan::NightOptions polarDay()
{
    return {{69.6492, 18.9553, 10}, {2026, 6, 21}, 2 * 60, 1, false};
}

void Plan(benchmark::State& state, plan::NightOptions options)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(plan::planNight(defaults(), options));
}

void Json(benchmark::State& state, plan::NightOptions options)
{
    const plan::NightPlan plan = plan::planNight(defaults(), options);
    for (auto _ : state)
        writeJson(plan);
}

void PlanAndJson(benchmark::State& state, plan::NightOptions options)
{
    for (auto _ : state) {
        writeJson(plan::planNight(defaults(), options));
    }
}

BENCHMARK_CAPTURE(Plan, NightAt1Minute, night(1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Json, NightAt1Minute, night(1))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlanAndJson, NightAt60Minutes, night(60))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlanAndJson, PolarDayAt1Minute, polarDay())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlanAndJson, NightAt1Minute, night(1))->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
