#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace vellmore::bench {

// A window's start against a bare window's, round by round in turn, so that whatever else the
// machine does weighs on both alike; prints the medians and their ratio under `name`.
template <typename Window, typename Bare>
void compareStarts(const char* name, int rounds, Window window, Bare bare)
{
    const auto microseconds = [](auto start) {
        const auto begin = std::chrono::steady_clock::now();
        start();
        return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
            .count();
    };
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    window(); // warm-up: classes registered, fonts, styles and libraries loaded once
    bare();
    std::vector<double> windows, bares;
    for (int round = 0; round < rounds; ++round) {
        windows.push_back(microseconds(window));
        bares.push_back(microseconds(bare));
    }
    const double a = median(windows);
    const double b = median(bares);
    std::printf("%s start to first paint  %8.0f us (median of %d)\n", name, a, rounds);
    std::printf("bare window start to first paint  %8.0f us\n", b);
    std::printf("%s start ratio  %8.2fx\n", name, a / b);
}

} // namespace vellmore::bench
