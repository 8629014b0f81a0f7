#include "platform/numberformat.h"
#include "table/night.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vellmore::table {
namespace {

using platform::formatGeneral;

// The chart's frame, in the SVG's own units: the plot spans these, altitude from -10 degrees at
// the bottom to 90 at the top.
constexpr double left = 70, right = 880, top = 70, bottom = 470;
constexpr double lowest = -10, highest = 90;
const char* const lineColours[] = {"#d62728", "#ff7f0e", "#2ca02c", "#9467bd",
                                   "#8c564b", "#e377c2", "#17becf", "#bcbd22"};
// A pale edge around a label, so it reads on the night's dark bands and over the lines.
const std::string halo =
    "stroke=\"#fff\" stroke-width=\"3\" stroke-opacity=\"0.8\" paint-order=\"stroke\"";
const char* const skyColours[] = {"#dbe9f7", "#a9c3e0", "#6f8db5", "#3e5680", "#1c2a44"};

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct Axes
{
    sky::Instant start, end;
    double x(sky::Instant t) const { return left + (right - left) * (t - start) / (end - start); }
    static double y(double altitude)
    {
        return bottom - (bottom - top) * (altitude - lowest) / (highest - lowest);
    }
};

std::string text(double x, double y, const std::string& content, const std::string& style)
{
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" " + style + ">" +
           escaped(content) + "</text>\n";
}

// Twilight and darkness as bands behind the curves, one per stretch of one state.
std::string skyBands(const NightPlan& plan, const Axes& axes)
{
    std::string out;
    const auto& times = plan.chartTimes;
    for (size_t i = 0; i + 1 < times.size();) {
        size_t j = i + 1;
        while (j + 1 < times.size() && plan.chartSky[j] == plan.chartSky[i])
            ++j;
        out += "<rect x=\"" + number(axes.x(times[i])) + "\" y=\"" + number(top) + "\" width=\"" +
               number(axes.x(times[j]) - axes.x(times[i])) + "\" height=\"" + number(bottom - top) +
               "\" fill=\"" + skyColours[static_cast<int>(plan.chartSky[i])] + "\"/>\n";
        i = j;
    }
    return out;
}

// The altitude grid and the local hours along the bottom.
std::string grid(const NightPlan& plan, const Axes& axes)
{
    std::string out;
    for (int a = 0; a <= 90; a += 15) {
        const std::string y = number(Axes::y(a));
        out += "<line x1=\"" + number(left) + "\" y1=\"" + y + "\" x2=\"" + number(right) +
               "\" y2=\"" + y + "\" stroke=\"" + (a == 0 ? "#000" : "#888") + "\" stroke-width=\"" +
               (a == 0 ? "1.5" : "0.5") + "\"/>\n";
        out += text(left - 8, Axes::y(a) + 4, formatGeneral(a) + "\xC2\xB0", "text-anchor=\"end\"");
    }
    const int offset = plan.options.offsetMinutes;
    for (const sky::Instant t : plan.chartHours) {
        const std::string x = number(axes.x(t));
        out += "<line x1=\"" + x + "\" y1=\"" + number(top) + "\" x2=\"" + x + "\" y2=\"" +
               number(bottom + 5) + "\" stroke=\"#888\" stroke-width=\"0.5\"/>\n";
        out += text(axes.x(t), bottom + 20, localClock(t, offset), "text-anchor=\"middle\"");
    }
    return out;
}

// One object's altitude through the night, its name at its highest, and at each whole hour it
// is up, the shutter speed at the first film speed.
std::string curve(const ExposureTable& table, const NightPlan& plan, const PlanObject& object,
                  const Axes& axes, const char* colour)
{
    std::string points;
    size_t highestAt = 0;
    for (size_t i = 0; i < plan.chartTimes.size(); ++i) {
        points += number(axes.x(plan.chartTimes[i])) + "," +
                  number(Axes::y(object.chartAltitudes[i])) + " ";
        if (object.chartAltitudes[i] > object.chartAltitudes[highestAt])
            highestAt = i;
    }
    std::string out = "<polyline clip-path=\"url(#plot)\" fill=\"none\" stroke=\"" +
                      std::string(colour) + "\" stroke-width=\"2\" points=\"" + points + "\"/>\n";
    // The name above its highest point, kept inside the chart at either end.
    const double x = axes.x(plan.chartTimes[highestAt]);
    const char* anchor = x < left + 60 ? "start" : x > right - 60 ? "end" : "middle";
    out +=
        text(x, std::min(Axes::y(object.chartAltitudes[highestAt]), bottom) - 8, object.row->name,
             "text-anchor=\"" + std::string(anchor) + "\" font-weight=\"bold\" fill=\"" + colour +
                 "\" " + halo);
    for (size_t i = 0; i < plan.chartHours.size(); ++i) {
        const sky::Instant t = plan.chartHours[i];
        const double altitude = object.hourAltitudes[i];
        if (altitude <= 0)
            continue;
        // The shutter speed at the first film speed, or the film speed for the first shutter.
        const std::vector<ShutterSpeed>& shutters = table.plan.shutters;
        const Cell cell = shutters.empty()
                              ? cellFor(table, object.hourK[i], table.plan.isos.front(), altitude)
                              : speedCellFor(table, object.hourK[i], shutters.front(), altitude);
        out += "<circle cx=\"" + number(axes.x(t)) + "\" cy=\"" + number(Axes::y(altitude)) +
               "\" r=\"3\" fill=\"" + colour + "\"/>\n";
        const std::string mark = cell.forShutter
                                     ? (cell.speedMark.empty() ? "" : "ISO " + cell.speedMark)
                                 : cell.reciprocal ? cell.shutter.label
                                                   : "";
        if (!mark.empty())
            out += text(axes.x(t) + 5, Axes::y(altitude) + 14, mark,
                        "font-size=\"11\" fill=\"" + std::string(colour) + "\" " + halo);
    }
    return out;
}

} // namespace

std::string renderNightSvg(const ExposureTable& table, const NightPlan& plan)
{
    const NightOptions& o = plan.options;
    const Axes axes{plan.start, plan.end};
    const std::string date = sky::dateText(o.date);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900\" height=\"540\" "
                      "viewBox=\"0 0 900 540\" font-family=\"sans-serif\" font-size=\"13\">\n"
                      "<rect width=\"900\" height=\"540\" fill=\"#fff\"/>\n"
                      "<clipPath id=\"plot\"><rect x=\"70\" y=\"70\" width=\"810\" "
                      "height=\"400\"/></clipPath>\n";
    out += text(left, 28,
                "Night of " + date + " at " + formatGeneral(o.site.latitude) + ", " +
                    formatGeneral(o.site.longitude) + " (local time UTC" +
                    sky::offsetText(o.offsetMinutes) + ")",
                "font-size=\"16\" font-weight=\"bold\"");
    out += text(left, 50,
                table.plan.shutters.empty()
                    ? "Altitude of each object; the shutter speed at ISO " +
                          formatGeneral(table.plan.isos.front()) + " at each whole hour"
                    : "Altitude of each object; the film speed for " +
                          table.plan.shutters.front().text + " s at each whole hour",
                "fill=\"#444\"");
    out += skyBands(plan, axes) + grid(plan, axes);
    size_t colour = 0;
    for (const PlanObject& object : plan.objects) {
        if (object.body)
            out += curve(table, plan, object, axes, lineColours[colour++ % std::size(lineColours)]);
    }
    double x = left;
    for (int s = 0; s <= static_cast<int>(sky::SkyState::Dark); ++s) {
        out += "<rect x=\"" + number(x) + "\" y=\"508\" width=\"14\" height=\"14\" fill=\"" +
               skyColours[s] + "\" stroke=\"#888\"/>\n";
        const std::string name = sky::skyName(static_cast<sky::SkyState>(s));
        out += text(x + 20, 520, name, "");
        x += 30 + 7.5 * static_cast<double>(name.size());
    }
    return out + "</svg>\n";
}

} // namespace vellmore::table
