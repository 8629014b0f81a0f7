// The settings reader on files of growing size, with Google Benchmark's fit of the time to the
// size: reading must stay linear (O(N)), whatever the file holds. Free text without "=" and one
// very long value are the two shapes a careless reader would go quadratic on.
#include "settings/loader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string prose(size_t bytes)
{
    std::string text;
    while (text.size() < bytes)
        text += "The Moon rose over the ridge, and the seeing was good.\r\n";
    return text;
}

void ReadFreeText(benchmark::State& state)
{
    const std::string file =
        prose(size_t(state.range(0))) + "[Exposures]\r\n" + prose(size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(vellmore::settings::parseSettings(file));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadFreeText)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

void ReadOneLongValue(benchmark::State& state)
{
    const std::string file = "K=" + std::string(size_t(state.range(0)), '7') + "\r\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(vellmore::settings::parseSettings(file));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReadOneLongValue)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Complexity();

} // namespace

BENCHMARK_MAIN();
