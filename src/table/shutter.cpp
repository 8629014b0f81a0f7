#include "table/shutter.h"

#include "platform/numberformat.h"

#include <algorithm>
#include <cmath>

namespace vellmore::table {
namespace {

struct Speed
{
    const char* label;
    double seconds;
};

// Nominal marked speeds; the marks are rounded (1/60 is really 1/64), so the offset is against
// the speed the camera claims.
const Speed speeds[] = {
    {"1/8000", 1.0 / 8000},
    {"1/4000", 1.0 / 4000},
    {"1/2000", 1.0 / 2000},
    {"1/1000", 1.0 / 1000},
    {"1/500", 1.0 / 500},
    {"1/250", 1.0 / 250},
    {"1/125", 1.0 / 125},
    {"1/60", 1.0 / 60},
    {"1/30", 1.0 / 30},
    {"1/15", 1.0 / 15},
    {"1/8", 1.0 / 8},
    {"1/4", 1.0 / 4},
    {"1/2", 1.0 / 2},
    {"1", 1},
    {"2", 2},
    {"4", 4},
    {"8", 8},
    {"15", 15},
    {"30", 30},
};

} // namespace

ShutterChoice nearestShutter(double exposureSeconds)
{
    ShutterChoice choice;
    if (!(exposureSeconds > 0)) {
        choice.label = "none";
        return choice;
    }
    // Each end of the scale takes what lies within half a stop of it, as every other speed does.
    const double halfStop = std::sqrt(2.0);
    if (exposureSeconds > speeds[std::size(speeds) - 1].seconds * halfStop) {
        choice.kind = ShutterChoice::Kind::Bulb;
        choice.label = "bulb";
        return choice;
    }
    if (exposureSeconds < speeds[0].seconds / halfStop) {
        choice.kind = ShutterChoice::Kind::FasterThanFastest;
        choice.label = std::string("faster than ") + speeds[0].label;
        return choice;
    }
    // The nearest is one of the two speeds either side of the exposure: the marks stand 0.9 to
    // 1.1 stops apart, so any other is more than 0.9 stops off where one of those is within 0.6.
    const Speed* after = std::find_if(std::begin(speeds), std::end(speeds),
                                      [=](const Speed& s) { return s.seconds > exposureSeconds; });
    const Speed* from = after == std::begin(speeds) ? after : after - 1;
    const Speed* to = after == std::end(speeds) ? after : after + 1;
    const Speed* best = nullptr;
    double bestStops = 0;
    for (const Speed* speed = from; speed != to; ++speed) {
        const double stops = std::log2(exposureSeconds / speed->seconds);
        if (!best || std::fabs(stops) < std::fabs(bestStops)) {
            best = speed;
            bestStops = stops;
        }
    }
    choice.kind = ShutterChoice::Kind::Speed;
    choice.label = best->label;
    choice.nominal = best->seconds;
    choice.offsetStops = bestStops;
    return choice;
}

std::string isoAtOrAbove(double speed)
{
    static const int marks[] = {100,   125,   160,   200,   250,   320,   400,   500,
                                640,   800,   1000,  1250,  1600,  2000,  2500,  3200,
                                4000,  5000,  6400,  8000,  10000, 12800, 16000, 20000,
                                25600, 32000, 40000, 51200, 64000, 80000, 102400};
    for (const int mark : marks) {
        if (speed <= mark)
            return std::to_string(mark);
    }
    return "above 102400";
}

std::vector<std::string> bracketSpeeds(const ShutterChoice& choice, int stops)
{
    std::vector<std::string> bracket;
    if (choice.kind != ShutterChoice::Kind::Speed)
        return bracket;
    const int count = static_cast<int>(std::size(speeds));
    int chosen = 0;
    while (chosen < count && speeds[chosen].label != choice.label)
        ++chosen;
    for (int i = std::max(chosen - stops, 0); i <= std::min(chosen + stops, count - 1); ++i) {
        if (i != chosen)
            bracket.push_back(speeds[i].label);
    }
    return bracket;
}

std::string speedList(const std::vector<std::string>& speeds)
{
    std::string text;
    for (const std::string& speed : speeds)
        text += (text.empty() ? "" : " ") + speed;
    return text;
}

std::string offsetText(double stops)
{
    const std::string text = platform::formatPattern(stops, 1);
    return text[0] == '-' ? text : "+" + text;
}

} // namespace vellmore::table
