#include "plan/night.h"
#include "plan/svgtext.h"
#include "platform/encoding.h"
#include "platform/numberformat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vellmore::plan {
namespace {

using platform::formatGeneral;
using table::cellFor;
using table::ShutterSpeed;
using table::speedCellFor;

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

// A text as XML character data: a character XML 1.0 forbids (a control in an object's name)
// would leave the document not well-formed, so no viewer would show it; it becomes U+FFFD.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : platform::utf8WithReplacement(text, platform::notXmlChar)) {
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

const char* anchorName(Anchor anchor)
{
    return anchor == Anchor::Start ? "start" : anchor == Anchor::Middle ? "middle" : "end";
}

// The chart's texts, each kept clear of those placed before it: a text goes at the first of its
// places that overlaps none of them, or, where none is clear, is left out.
struct Labels
{
    std::vector<TextBox> taken;
    std::string svg;

    struct At
    {
        double x, y;
        Anchor anchor;
    };

    bool place(const std::vector<At>& places, const std::string& content, double size, bool bold,
               const std::string& style)
    {
        for (const At& at : places) {
            const TextBox box = textBox(at.x, at.y, content, size, bold, at.anchor);
            if (box.left < 0 || box.right > 900 || box.top < 0 || box.bottom > 540 ||
                std::any_of(taken.begin(), taken.end(),
                            [&](const TextBox& other) { return box.overlaps(other); }))
                continue;
            taken.push_back(box);
            svg += text(at.x, at.y, content,
                        "text-anchor=\"" + std::string(anchorName(at.anchor)) + "\"" +
                            (style.empty() ? "" : " " + style));
            return true;
        }
        return false;
    }
};

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

// The altitude grid and the local hours along the bottom; an hour whose label would touch the
// last one's goes unlabelled.
std::string grid(const NightPlan& plan, const Axes& axes, Labels& labels)
{
    std::string out;
    for (int a = 0; a <= 90; a += 15) {
        const std::string y = number(Axes::y(a));
        out += "<line x1=\"" + number(left) + "\" y1=\"" + y + "\" x2=\"" + number(right) +
               "\" y2=\"" + y + "\" stroke=\"" + (a == 0 ? "#000" : "#888") + "\" stroke-width=\"" +
               (a == 0 ? "1.5" : "0.5") + "\"/>\n";
        labels.place({{left - 8, Axes::y(a) + 4, Anchor::End}}, formatGeneral(a) + "\xC2\xB0", 13,
                     false, "");
    }
    const int offset = plan.options.offsetMinutes;
    for (const sky::Instant t : plan.chartHours) {
        const std::string x = number(axes.x(t));
        out += "<line x1=\"" + x + "\" y1=\"" + number(top) + "\" x2=\"" + x + "\" y2=\"" +
               number(bottom + 5) + "\" stroke=\"#888\" stroke-width=\"0.5\"/>\n";
        labels.place({{axes.x(t), bottom + 20, Anchor::Middle}}, localClock(t, offset), 13, false,
                     "");
    }
    return out;
}

// One object's altitude through the night, with a dot at each whole hour it is up.
std::string curve(const NightPlan& plan, const PlanObject& object, const Axes& axes,
                  const char* colour)
{
    std::string points;
    for (size_t i = 0; i < plan.chartTimes.size(); ++i) {
        points += number(axes.x(plan.chartTimes[i])) + "," +
                  number(Axes::y(object.chartAltitudes[i])) + " ";
    }
    std::string out = "<polyline clip-path=\"url(#plot)\" fill=\"none\" stroke=\"" +
                      std::string(colour) + "\" stroke-width=\"2\" points=\"" + points + "\"/>\n";
    for (size_t i = 0; i < plan.chartHours.size(); ++i) {
        if (object.hourAltitudes[i] > 0) {
            out += "<circle cx=\"" + number(axes.x(plan.chartHours[i])) + "\" cy=\"" +
                   number(Axes::y(object.hourAltitudes[i])) + "\" r=\"3\" fill=\"" + colour +
                   "\"/>\n";
        }
    }
    return out;
}

// The name above the curve's highest point, or as near it as a clear place allows, kept inside
// the chart at either end.
void nameCurve(const NightPlan& plan, const PlanObject& object, const Axes& axes,
               const char* colour, Labels& labels)
{
    size_t highestAt = 0;
    for (size_t i = 0; i < plan.chartTimes.size(); ++i) {
        if (object.chartAltitudes[i] > object.chartAltitudes[highestAt])
            highestAt = i;
    }
    std::vector<Labels::At> places;
    for (const double dx : {0.0, -50.0, 50.0, -100.0, 100.0, -150.0, 150.0}) {
        const double x = std::clamp(axes.x(plan.chartTimes[highestAt]) + dx, left, right);
        const Anchor anchor = x < left + 60    ? Anchor::Start
                              : x > right - 60 ? Anchor::End
                                               : Anchor::Middle;
        const double y = std::min(Axes::y(object.chartAltitudes[highestAt]), bottom) - 8;
        for (const double dy : {0.0, -15.0, -30.0, 30.0, 45.0, -45.0})
            places.push_back({x, std::clamp(y + dy, top + 14, bottom - 4), anchor});
    }
    labels.place(places, object.row->name, 13, true,
                 "font-weight=\"bold\" fill=\"" + std::string(colour) + "\" " + halo);
}

// At each whole hour the object is up, the shutter speed at the first film speed (or the film
// speed for the first shutter speed) beside its dot, and the Moon's K by its phase; a mark with
// no clear place beside the dot is left out.
void markCurve(const ExposureTable& table, const NightPlan& plan, const PlanObject& object,
               const Axes& axes, const char* colour, Labels& labels)
{
    for (size_t i = 0; i < plan.chartHours.size(); ++i) {
        const double altitude = object.hourAltitudes[i];
        if (altitude <= 0)
            continue;
        const std::vector<ShutterSpeed>& shutters = table.plan.shutters;
        const Cell cell = shutters.empty()
                              ? cellFor(table, object.hourK[i], table.plan.isos.front(), altitude)
                              : speedCellFor(table, object.hourK[i], shutters.front(), altitude);
        std::string mark = cell.forShutter ? (cell.speedMark.empty() ? "" : "ISO " + cell.speedMark)
                           : cell.reciprocal ? cell.shutter.label
                                             : "";
        if (mark.empty())
            continue;
        // The Moon's K follows its phase through the night: each mark says what it was.
        if (object.body == sky::Body::Moon && plan.moon.fullK)
            mark += " K " + formatGeneral(std::round(object.hourK[i]));
        const double x = axes.x(plan.chartHours[i]), y = Axes::y(altitude);
        labels.place({{x + 5, y + 14, Anchor::Start},
                      {x + 5, y - 6, Anchor::Start},
                      {x - 5, y + 14, Anchor::End},
                      {x - 5, y - 6, Anchor::End}},
                     mark, 11, false,
                     "font-size=\"11\" fill=\"" + std::string(colour) + "\" " + halo);
    }
}

} // namespace

std::string renderNightSvg(const ExposureTable& table, const NightPlan& plan)
{
    const NightOptions& o = plan.options;
    const Axes axes{plan.start, plan.end};
    const std::string date = sky::dateText(o.date);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"900\" height=\"540\" "
                      "viewBox=\"0 0 900 540\" font-family=\"Liberation Sans, Arial, Helvetica, "
                      "sans-serif\" font-size=\"13\">\n"
                      "<rect width=\"900\" height=\"540\" fill=\"#fff\"/>\n"
                      "<clipPath id=\"plot\"><rect x=\"70\" y=\"70\" width=\"810\" "
                      "height=\"400\"/></clipPath>\n";
    Labels labels;
    labels.place({{left, 28, Anchor::Start}},
                 "Night of " + date + " at " + formatGeneral(o.site.latitude) + ", " +
                     formatGeneral(o.site.longitude) + " (local time UTC" +
                     sky::offsetText(o.offsetMinutes) + ")",
                 16, true, "font-size=\"16\" font-weight=\"bold\"");
    labels.place({{left, 50, Anchor::Start}},
                 table.plan.shutters.empty()
                     ? "Altitude of each object; the shutter speed at ISO " +
                           formatGeneral(table.plan.isos.front()) + " at each whole hour"
                     : "Altitude of each object; the film speed for " +
                           table.plan.shutters.front().text + " s at each whole hour",
                 13, false, "fill=\"#444\"");
    double x = left;
    std::string legend;
    for (int s = 0; s <= static_cast<int>(sky::SkyState::Dark); ++s) {
        legend += "<rect x=\"" + number(x) + "\" y=\"508\" width=\"14\" height=\"14\" fill=\"" +
                  skyColours[s] + "\" stroke=\"#888\"/>\n";
        const std::string name = sky::skyName(static_cast<sky::SkyState>(s));
        labels.place({{x + 20, 520, Anchor::Start}}, name, 13, false, "");
        x += 34 + textAdvance(name, 13, false);
    }
    out += skyBands(plan, axes) + grid(plan, axes, labels) + legend;
    std::vector<const PlanObject*> placed;
    for (const PlanObject& object : plan.objects) {
        if (object.body)
            placed.push_back(&object);
    }
    const auto colourOf = [](size_t i) { return lineColours[i % std::size(lineColours)]; };
    for (size_t i = 0; i < placed.size(); ++i)
        out += curve(plan, *placed[i], axes, colourOf(i));
    // Names first, so that no mark takes a name's place; then the marks, drawn over the curves.
    for (size_t i = 0; i < placed.size(); ++i)
        nameCurve(plan, *placed[i], axes, colourOf(i), labels);
    for (size_t i = 0; i < placed.size(); ++i)
        markCurve(table, plan, *placed[i], axes, colourOf(i), labels);
    out += labels.svg;
    return out + "</svg>\n";
}

} // namespace vellmore::plan
