// Every figure the night's plan gives in more than one format must agree, row by row: each
// format is read back as a reader of it would (nlohmann's JSON parser, libcsv in strict RFC 4180
// mode, libxml2, and the text's columns), and numbers agree within the rounding each one shows.
#include "plan/readback.h"
#include "settings/settingsfile.h"
#include "table/tableapp.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <ctime>
#include <map>
#include <regex>
#include <sstream>

namespace vellmore::plan {
namespace {

using nlohmann::json;
using Fields = std::map<std::string, std::string>; // "" where a format shows no figure

struct Night
{
    const char* name;
    std::vector<std::string> args;
};
// clang-format off
const Night nights[] = {
    {"HalfHourAhead", {"--site", "28.61,77.21,216", "--date", "2026-12-24", "--utc-offset", "+05:30", "--step", "30"}},
    {"ThreeQuartersAhead", {"--site", "27.7,85.32,1400", "--date", "2026-12-24", "--utc-offset", "+05:45", "--step", "20"}},
    {"In1955", {"--site", "51.4769,-0.0005,46", "--date", "1955-03-01", "--utc-offset", "+00:00", "--iso", "100,1600"}},
    {"PolarDay", {"--site", "69.6492,18.9553,10", "--date", "2026-06-21", "--utc-offset", "+02:00", "--step", "45"}},
    {"BrightMoonAndSaturn", {"--site", "34.05,-118.25,100", "--date", "2026-12-24", "--utc-offset", "-08:00", "--step", "15"}},
    {"Camera", {"--site", "-33.87,151.21,58", "--date", "2026-11-20", "--utc-offset", "+11:00", "--shutter", "1/250,0.02",
                "--pixel-size", "3.76", "--sensor", "23.5x15.6"}},
};
// clang-format on

// Half a unit in the last place a number's text shows: "12.3" 0.05, "1.5e-05" 5e-7.
double halfUnit(const std::string& text)
{
    const size_t e = text.find_first_of("eE"), dot = text.find('.');
    const int decimals =
        dot == std::string::npos ? 0 : static_cast<int>(std::min(e, text.size()) - dot - 1);
    return 0.5 *
           std::pow(10, (e == std::string::npos ? 0 : std::stoi(text.substr(e + 1))) - decimals);
}

void expectSame(const std::string& a, const std::string& b, const std::string& what)
{
    char* end = nullptr;
    const double x = std::strtod(a.c_str(), &end);
    if (!a.empty() && *end == 0 && !b.empty()) {
        EXPECT_NEAR(x, std::stod(b), halfUnit(a) + halfUnit(b) + 1e-9 * std::fabs(x)) << what;
        return;
    }
    EXPECT_EQ(a, b) << what;
}

// Every field two of the formats both have.
void expectAgree(const std::vector<std::pair<const char*, Fields>>& formats,
                 const std::string& what)
{
    for (size_t i = 0; i < formats.size(); ++i) {
        for (size_t j = i + 1; j < formats.size(); ++j) {
            for (const auto& [field, value] : formats[i].second) {
                const auto other = formats[j].second.find(field);
                if (other != formats[j].second.end())
                    expectSame(value, other->second,
                               what + " " + field + ": " + formats[i].first + " against " +
                                   formats[j].first);
            }
        }
    }
}

std::string number(const json& value)
{
    return value.is_null()      ? ""
           : value.is_boolean() ? (value.get<bool>() ? "yes" : "no")
           : value.is_string()  ? value.get<std::string>()
                                : value.dump();
}

// A UTC instant read by the C library, and its local clock, rounded to the minute.
std::time_t utc(const std::string& iso)
{
    std::tm tm{};
    std::istringstream(iso) >> std::get_time(&tm, "%Y-%m-%dT%H:%M:%SZ");
    return timegm(&tm);
}
std::string clock(double t, int offsetMinutes)
{
    const long long minutes = std::llround((t + offsetMinutes * 60.0) / 60);
    const long long ofDay = (minutes % 1440 + 1440) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02lld:%02lld", ofDay / 60, ofDay % 60);
    return text;
}
int offsetOf(const std::string& text)
{
    return (text[0] == '-' ? -1 : 1) *
           (std::stoi(text.substr(1, 2)) * 60 + std::stoi(text.substr(4, 2)));
}

// A text row's cells: its columns are at least two blanks apart.
std::vector<std::string> columns(const std::string& line)
{
    static const std::regex gap("\\s{2,}");
    return {std::sregex_token_iterator(line.begin(), line.end(), gap, -1), {}};
}

Fields jsonRow(const json& row, int offset)
{
    Fields f = {
        {"time", row["time"]}, {"local", clock(utc(row["time"]), offset)}, {"sky", row["sky"]}};
    for (const char* key :
         {"altitude_deg", "azimuth_deg", "air_mass", "k", "diameter_arcsec", "lit_fraction",
          "magnitude", "diameter_px", "fits_sensor", "times_across"}) {
        if (row.contains(key))
            f[key] = number(row[key]);
    }
    for (size_t i = 0; i < row["exposures"].size(); ++i) {
        const json& e = row["exposures"][i];
        for (const char* key :
             {"exposure_s", "shutter", "offset_stops", "iso_for_shutter", "iso"}) {
            if (e.contains(key) && (std::string(key) != "iso" || e.contains("iso_for_shutter")))
                f[key + std::to_string(i)] = number(e[key]);
        }
    }
    return f;
}

Fields csvRow(const std::vector<std::string>& header, const std::vector<std::string>& record)
{
    Fields f;
    std::map<std::string, int> groupOf;
    for (size_t c = 0; c < header.size(); ++c) {
        std::string name = header[c], value = record[c];
        static const std::regex group(
            "(exposure_s|shutter|offset_stops|iso_for_shutter|iso)_(iso)?(.+)");
        std::smatch m;
        if (c > 14 && std::regex_match(header[c], m, group)) {
            const int index = groupOf.emplace(m[3], static_cast<int>(groupOf.size())).first->second;
            name = m[1].str() + std::to_string(index);
            if (m[1] == "shutter" && value.size() > 2 && value.substr(value.size() - 2) == " s")
                value.resize(value.size() - 2); // "1/8 s"
        }
        f[name == "time" ? "time" : name == "local_time" ? "local" : name] = value;
    }
    f.erase("object"), f.erase("body"), f.erase("note");
    return f;
}

Fields textRow(const std::vector<std::string>& cells, bool shutters)
{
    Fields f = {{"local", cells[0]},
                {"sky", cells[1]},
                {"altitude_deg", cells[2]},
                {"azimuth_deg", cells[3]}};
    f["air_mass"] = cells[4] == "below the horizon" ? "" : cells[4];
    for (size_t c = 5, i = 0; c < cells.size(); ++i) {
        const std::string n = std::to_string(i);
        const auto shown = [&](size_t at) { return cells[at] == "-" ? std::string() : cells[at]; };
        if (shutters) {
            f["iso_for_shutter" + n] = shown(c), f["iso" + n] = shown(c + 1), c += 2;
            continue;
        }
        f["exposure_s" + n] = shown(c);
        const std::string shutter = shown(c + 2);
        f["shutter" + n] = shutter.substr(0, shutter.find(' '));
        if (shutter.find(' ') != std::string::npos)
            f["offset_stops" + n] = shutter.substr(shutter.find(' ') + 1);
        c += 3;
    }
    return f;
}

class Agreement : public ::testing::TestWithParam<Night>
{};

// The night in every format, each read back; the JSON parser throws on a document that is not.
struct Outputs
{
    json doc;
    std::optional<testing::Records> csv;
    std::vector<std::string> text;
    std::optional<testing::Svg> svg;
    std::string plainText;
};

Outputs render(std::vector<std::string> args, const std::string& settings)
{
    testing::TestDir temp;
    testing::writeFile(temp.file("Vellmore.ini"), settings);
    args.insert(args.end(),
                {"--settings", temp.file("Vellmore.ini"), "--svg", temp.file("night.svg")});
    std::string outputs[3];
    int index = 0;
    for (const char* format : {"--json", "--csv", ""}) {
        std::vector<std::string> with = args;
        if (*format)
            with.push_back(format);
        std::ostringstream out, err;
        EXPECT_EQ(table::runTable(with, temp.path(), out, err), 0) << err.str();
        outputs[index++] = out.str();
    }
    Outputs o{json::parse(outputs[0]),
              testing::readCsv(outputs[1]),
              {},
              testing::readSvg(testing::contentOf(temp.file("night.svg"))),
              outputs[2]};
    std::istringstream lines(outputs[2]);
    for (std::string line; std::getline(lines, line);)
        o.text.push_back(line);
    return o;
}

TEST_P(Agreement, EveryFigureAgreesInEveryFormat)
{
    const std::vector<std::string>& args = GetParam().args;
    const auto& [doc, csv, text, svg, plainText] = render(args, settings::defaultContent());
    ASSERT_TRUE(csv) << "the CSV is not well-formed";
    ASSERT_TRUE(svg) << "the chart is not well-formed XML";

    const int offset = offsetOf(doc["night"]["utc_offset"]);
    const bool shutters = std::find(args.begin(), args.end(), "--shutter") != args.end();
    const std::vector<std::string>& header = csv->front();
    size_t csvAt = 1;
    std::map<std::string, std::vector<Fields>> hours; // each object's rows on whole hours
    for (const json& object : doc["objects"]) {
        const std::string name = object["object"];
        if (object["body"].is_null())
            continue;
        // The text's section: its heading, the disc line, two lines of titles, then the rows.
        const auto heading = std::find_if(text.begin(), text.end(), [&](const std::string& l) {
            return l.rfind(name + " (K ", 0) == 0;
        });
        ASSERT_NE(heading, text.end()) << name;
        std::smatch m;
        ASSERT_TRUE(std::regex_match(*heading, m,
                                     std::regex(".* \\(K ([0-9.]+)[^)]*\\): rises (\\S+), transits "
                                                "(\\S+)(?: at (\\S+) degrees)?, sets (\\S+)")));
        const auto at = [&](const char* key) {
            return object[key].is_null() ? "none" : clock(utc(object[key]), offset);
        };
        const bool byPhase = object["body"] == "moon" && !doc["moon"]["k_full_moon"].is_null();
        expectAgree(
            {{"json",
              {{"k", number(byPhase ? doc["moon"]["k"] : object["k"])},
               {"rise", at("rise")},
               {"transit", at("transit")},
               {"altitude", number(object["transit_altitude_deg"])},
               {"set", at("set")}}},
             {"text",
              {{"k", m[1]}, {"rise", m[2]}, {"transit", m[3]}, {"altitude", m[4]}, {"set", m[5]}}}},
            name);
        const json& disc = object["disc"];
        const std::regex parts(
            "Disc at midnight ([0-9.]+)\" across, ([0-9.]+)% lit(?:, magnitude (\\S+?))?(?:, "
            "(\\S+) px)?(?:, (fits the sensor (\\S+) times across|wider than the sensor))?");
        ASSERT_TRUE(std::regex_match(heading[1], m, parts)) << heading[1];
        Fields discText = {{"diameter_arcsec", m[1]}, {"lit", m[2]}, {"magnitude", m[3]}};
        Fields discJson = {{"diameter_arcsec", number(disc["diameter_arcsec"])},
                           {"magnitude", number(disc["magnitude"])},
                           {"lit", number(json(disc["lit_fraction"].get<double>() * 100))}};
        if (disc.contains("diameter_px"))
            discText["px"] = m[4], discJson["px"] = number(disc["diameter_px"]);
        if (disc.contains("fits_sensor")) {
            discText["fits"] = m[6].matched ? "yes" : "no",
            discJson["fits"] = number(disc["fits_sensor"]);
            discText["across"] = m[6],
            discJson["across"] = m[6].matched ? number(disc["times_across"]) : "";
        }
        expectAgree({{"json", discJson}, {"text", discText}}, name + " disc");

        for (size_t r = 0; r < object["rows"].size(); ++r) {
            const json& row = object["rows"][r];
            ASSERT_LT(csvAt, csv->size());
            ASSERT_EQ((*csv)[csvAt][0], name);
            const std::vector<std::string> cells = columns(heading[4 + r]);
            ASSERT_GE(cells.size(), 5u) << heading[4 + r];
            const Fields fromJson = jsonRow(row, offset);
            expectAgree({{"json", fromJson},
                         {"csv", csvRow(header, (*csv)[csvAt++])},
                         {"text", textRow(cells, shutters)}},
                        name + " " + number(row["time"]));
            if (fromJson.at("local").substr(3) == "00")
                hours[name].push_back(fromJson);
        }
    }
    EXPECT_EQ(csvAt, csv->size()) << "rows the JSON has not";

    // The Moon: the entry named for tonight, how much of it is lit.
    std::smatch moon;
    ASSERT_TRUE(std::regex_search(
        plainText, moon,
        std::regex("The Moon is ([0-9]+)% lit at midnight; the plan uses (\\w+):")));
    std::string moonObject;
    for (const json& object : doc["objects"])
        moonObject += object["body"] == "moon" ? object["object"].get<std::string>() : "";
    expectAgree({{"json",
                  {{"lit", number(json(doc["moon"]["illuminated"].get<double>() * 100))},
                   {"entry", number(doc["moon"]["entry"])}}},
                 {"text", {{"lit", moon[1]}, {"entry", moon[2]}}},
                 {"objects", {{"entry", moonObject}}}},
                "the Moon");

    // The chart: its title, hour lines on whole local hours, each labelled with its hour, and each
    // mark at an hour the figure of that object's row there.
    const json& night = doc["night"];
    const double noon = utc(night["date"].get<std::string>() + "T12:00:00Z") - offset * 60;
    const double start = night["sunset"].is_null() ? noon : utc(night["sunset"]);
    const double end = night["sunrise"].is_null() ? noon + 86400 : utc(night["sunrise"]);
    const auto timeAt = [&](double x) { return start + (x - 70) / 810 * (end - start); };
    ASSERT_FALSE(svg->texts.empty());
    EXPECT_NE(svg->texts[0].content.find("Night of " + night["date"].get<std::string>()),
              std::string::npos);
    EXPECT_NE(svg->texts[0].content.find("(local time UTC" +
                                         night["utc_offset"].get<std::string>() + ")"),
              std::string::npos);
    ASSERT_GE(svg->hourLines.size(), 6u);
    for (const double x : svg->hourLines)
        EXPECT_EQ(clock(timeAt(x), offset).substr(2), ":00")
            << "an hour line at " << clock(timeAt(x), offset);
    std::map<std::string, std::string> nameOf; // by colour
    for (const testing::SvgText& t : svg->texts) {
        if (t.bold && !t.fill.empty())
            nameOf[t.fill] = t.content;
    }
    EXPECT_EQ(nameOf.size(), hours.size());
    size_t labels = 0, marks = 0;
    for (const testing::SvgText& t : svg->texts) {
        const auto nearest = [&lines = svg->hourLines](double x) {
            return *std::min_element(lines.begin(), lines.end(), [x](double a, double b) {
                return std::fabs(a - x) < std::fabs(b - x);
            });
        };
        if (t.y == 490) {
            ++labels;
            EXPECT_EQ(t.content, clock(timeAt(nearest(t.x)), offset)) << "an hour's label";
        }
        if (t.bold || !nameOf.count(t.fill))
            continue;
        const double hour = timeAt(t.x + (t.anchor == "start" ? -5 : 5));
        for (const Fields& row : hours[nameOf[t.fill]]) {
            if (std::fabs(utc(row.at("time")) - hour) > 60)
                continue;
            ++marks;
            const std::string kept = shutters ? "ISO " + row.at("iso0") : row.at("shutter0");
            const size_t k = t.content.find(" K ");
            EXPECT_EQ(t.content.substr(0, k), kept) << nameOf[t.fill] << " " << row.at("local");
            if (k != std::string::npos) {
                EXPECT_EQ(t.content.substr(k + 3),
                          std::to_string(std::lround(std::stod(row.at("k")))));
            }
            const double y = 470 - 4 * (std::stod(row.at("altitude_deg")) + 10);
            EXPECT_TRUE(std::fabs(t.y - 14 - y) < 0.15 || std::fabs(t.y + 6 - y) < 0.15)
                << "the mark of " << row.at("local");
        }
    }
    EXPECT_GE(labels, svg->hourLines.size() / 2);
    EXPECT_GT(marks, 3u);
}

// Whatever an object's name holds, the JSON is valid, the chart well-formed XML (a character
// XML forbids as U+FFFD), a CSV cell a spreadsheet would run as a formula starts with ', and the
// text shows no control character.
TEST(AnyName, KeepsEveryFormatReadable)
{
    const std::string fffd = "\xEF\xBF\xBD";
    // The entry as the file has it, the name it gives, the name as the chart and the CSV show it.
    const struct
    {
        std::string entry, name, inChart, inCsv;
    } cases[] = {
        {"Full\x07Moon", "Full\x07Moon", "Full" + fffd + "Moon", "Full\x07Moon"},
        {"A&B<Moon>\"q\"", "A&B<Moon>\"q\"", "A&B<Moon>\"q\"", "A&B<Moon>\"q\""},
        {"Back\\Moon", "Back\\Moon", "Back\\Moon", "Back\\Moon"},
        {"\"Hale, Moon", "Hale, Moon", "Hale, Moon", "Hale, Moon"},
        {"+Moon", "+Moon", "+Moon", "'+Moon"},
        {"-Moon", "-Moon", "-Moon", "'-Moon"},
        {"@Moon", "@Moon", "@Moon", "'@Moon"},
        {"\x1b[1mMoon", "\x1b[1mMoon", fffd + "[1mMoon", "\x1b[1mMoon"},
        {"\xEF\xBF\xBEMoon", "\xEF\xBF\xBEMoon", fffd + "Moon", "\xEF\xBF\xBEMoon"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outputs o = render(
            {"--site", "34.05,-118.25,100", "--date", "2026-12-24", "--utc-offset", "-08:00"},
            "[Exposures]\r\n" + c.entry + "=200" + (c.entry[0] == '"' ? "\"" : "") +
                "\r\nSaturn=13.6\r\n");
        EXPECT_EQ(o.doc["objects"][0]["object"], c.name);
        ASSERT_TRUE(o.csv);
        EXPECT_EQ((*o.csv)[1][0], c.inCsv);
        ASSERT_TRUE(o.svg) << "not well-formed";
        EXPECT_TRUE(std::any_of(o.svg->texts.begin(), o.svg->texts.end(),
                                [&](const testing::SvgText& t) { return t.content == c.inChart; }));
        EXPECT_EQ(
            std::count_if(o.plainText.begin(), o.plainText.end(),
                          [](char b) { return (b >= 0 && b < 0x20 && b != '\n') || b == 0x7f; }),
            0);
    }
}

INSTANTIATE_TEST_SUITE_P(Nights, Agreement, ::testing::ValuesIn(nights),
                         [](const ::testing::TestParamInfo<Night>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace vellmore::plan
