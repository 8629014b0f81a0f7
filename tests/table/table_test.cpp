#include "plan/night.h"
#include "platform/numberformat.h"
#include "settings/settingsfile.h"
#include "table/planning.h"
#include "table/shutter.h"
#include "table/tableapp.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace vellmore::table {
namespace {

using plan::moonK;
using plan::namedPhase;
using platform::formatGeneral;

// What the table program's own rows leave open: the zenith, and a field too wide for the
// small-angle rule.
TEST(Planning, MatchesTheFormulasWorkedByHand)
{
    EXPECT_NEAR(airMass(90), 0.9997, 0.00005);
    EXPECT_NEAR(fieldOfView(20, 10), 5400, 1e-9) << "a right angle: 2 atan(1), not 20 / 10";
}

TEST(Planning, BracketsTheChosenSpeedOnTheFullStopScale)
{
    using Speeds = std::vector<std::string>;
    // clang-format off
    const struct { double seconds; int stops; Speeds bracket; } cases[] = {
        {0.125, 1, {"1/15", "1/4"}}, {0.125, 3, {"1/60", "1/30", "1/15", "1/4", "1/2", "1"}},
        {1.0 / 8000, 2, {"1/4000", "1/2000"}}, {1.0 / 4000, 1, {"1/8000", "1/2000"}},
        {30, 3, {"4", "8", "15"}}, {15, 1, {"8", "30"}}, {60, 1, {}}, {1.0 / 9000, 0, {}}, {1e-5, 1, {}}, // no speed, no bracket
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(bracketSpeeds(nearestShutter(c.seconds), c.stops), c.bracket) << c.seconds;
}

TEST(NearestShutter, ChoosesBySmallestDifferenceInStops)
{
    const double halfStop = std::sqrt(2.0);
    const double halfStopAbove8th = 0.125 * halfStop;
    // choice: the label and, for a speed, the signed offset in stops. Each end of the scale takes
    // what lies within half a stop of it, like every other speed.
    // clang-format off
    const struct { double seconds; const char* choice; } cases[] = {
        {0.14425608388086358, "1/8 +0.2"}, {0.125, "1/8 +0.0"}, {1.0 / 60, "1/60 +0.0"}, {10.9, "8 +0.4"},
        {halfStopAbove8th * 0.999, "1/8 +0.5"}, {halfStopAbove8th * 1.001, "1/4 -0.5"}, {22, "30 -0.4"},
        {30, "30 +0.0"}, {30.0006, "30 +0.0"}, {30 * halfStop, "30 +0.5"}, {30 * halfStop * 1.001, "bulb"},
        {1.0 / 8000, "1/8000 +0.0"}, {1.0 / 8200, "1/8000 +0.0"}, {1.0 / 8000 / halfStop, "1/8000 -0.5"},
        {1.0 / 8000 / halfStop * 0.999, "faster than 1/8000"}, {0, "none"}, {-0.5, "none"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ShutterChoice got = nearestShutter(c.seconds);
        const bool speed = got.kind == ShutterChoice::Kind::Speed;
        EXPECT_EQ(got.label + (speed ? " " + offsetText(got.offsetStops) : ""), c.choice)
            << c.seconds;
    }
    EXPECT_EQ(offsetText(-0.04), "+0.0") << "no minus on a zero offset";
}

// The whole scale, fastest first, each speed chosen for the seconds its mark says.
TEST(NearestShutter, EveryFullStopSpeedIsChosenForItsOwnExposure)
{
    std::vector<std::string> scale = bracketSpeeds(nearestShutter(1.0 / 8000), 18);
    scale.insert(scale.begin(), "1/8000");
    EXPECT_EQ(speedList(scale), "1/8000 1/4000 1/2000 1/1000 1/500 1/250 1/125 1/60 1/30 1/15 "
                                "1/8 1/4 1/2 1 2 4 8 15 30");
    for (const std::string& mark : scale) {
        const double seconds =
            mark.rfind("1/", 0) == 0 ? 1 / std::stod(mark.substr(2)) : std::stod(mark);
        const ShutterChoice got = nearestShutter(seconds);
        EXPECT_EQ(got.label, mark);
        EXPECT_EQ(got.offsetStops, 0) << mark << " is off by a fraction of a stop";
    }
}

struct TableRun
{
    int status;
    std::string out;
    std::string err;
};

class TableApp : public ::testing::Test
{
protected:
    std::string write(const std::string& content, const std::string& name = "Vellmore.ini") const
    {
        testing::writeFile(m_temp.file(name), content);
        return m_temp.file(name);
    }
    TableRun run(const std::vector<std::string>& args) const
    {
        std::ostringstream out, err;
        const int status = runTable(args, m_temp.path(), out, err);
        return {status, out.str(), err.str()};
    }

    testing::TestDir m_temp;
};

// Each run prints every line given, whole; figures worked by hand from the window's formulas,
// and with --altitude from 0.144256 s x 10^(0.4 k (X - 1)) with X by Kasten and Young.
TEST_F(TableApp, PrintsTheFiguresForEveryObjectFilmSpeedAndHeight)
{
    const std::string defaults = settings::defaultContent();
    const std::string optics =
        "Telescope 1420 mm, eyepiece 19 mm, camera lens 50 mm, aperture 220 mm\n"
        "Magnification 74.74X, system focal length 3736.84 mm, f ratio 16.99\n";
    const std::string why0s = "Cannot work out 1 / exposure: the exposure is 0 seconds because "
                              "the telescope focal length is 0.";
    const std::vector<std::string> sky = {"--pixel-size", "3.75", "--sensor", "4.8x3.6"};
    // clang-format off
    const struct { std::vector<std::string> args; std::string file; std::vector<std::string> lines; } cases[] = {
        {{}, defaults, {optics + "\n                    ISO 100\nObject           K  seconds       1/s  shutter\n"
                        "CrescentMoon    20  0.14426    1/6.93  1/8 +0.2\nQuarterMoon     40  0.07213   1/13.86  1/15 +0.1\n"
                        "FullMoon       200  0.01443   1/69.32  1/60 -0.2\n", "\nVenus         1310  0.00220  1/454.05  1/500 +0.1\n"}},
        {{}, "FilmISO=200\r\n[Exposures]\r\nDark=0\r\nMoon=20", {"\nDark     0        -        -  -          Cannot work out the "
            "exposure: K is 0.\nMoon    20  0.07213  1/13.86  1/15 +0.1\n"}},
        // Only the reciprocal faults: the seconds still show, the reason once however many speeds.
        {{"--iso", "100,400,1600"}, "TelescopeFL=0\r\n[Exposures]\r\nMoon=20", {"\nMoon    20  0.00000    -  -        "
            "0.00000    -  -        0.00000    -  -        " + why0s + "\n"}},
        {{"--iso", "100,400", "--altitude", "30,10", "--bracket=1", "--pixel-size", "3.75", "--sensor", "4.8x3.6"}, defaults,
            {optics + "Image scale 0.207\"/px, field of view 4.42' x 3.31'\n\nAt 30 degrees: air mass 1.994, 1.257 times the "
             "zenith exposure (extinction 0.25 mag per air mass)\n", "\nCrescentMoon    20  0.18137    1/5.51  1/4 -0.5    1/8 1/2 "
             "      0.04534    1/22.05  1/30 +0.4    1/60 1/15\n", "\nAt 10 degrees: air mass 5.586, 2.875 times", "0.41470    1/2.41", "0.10368    1/9.65"}},
        {{"--altitude", "10", "--extinction", "1", "--bracket", "2"}, defaults,
            {"\nCrescentMoon    20   9.85255  1/0.10  8 +0.3    2 4 15 30\n"}},
        // 2.9E+306 s at the zenith, 68 times that through 5.6 air masses: beyond the double range.
        {{"--altitude", "10", "--extinction", "1"}, "FilmISO=100\r\n[Exposures]\r\nHuge=1e-306", {"\nHuge    1E-306        -    -  -        "
            "Cannot work out the exposure: the exposure is too long to show; check the K and the film ISO.\n"}},
        // The file's K and, with --iso, its ISO are the objects' and the options' to give.
        {{"--iso", "100"}, "K=1e999\r\nFilmISO=1e999\r\n[Exposures]\r\nMoon=20", {"\nMoon    20  0.14426  1/6.93  1/8 +0.2\n"}},
        // Without a system focal length above 0 there is no image: the reason, and no figure.
        {sky, "TelescopeFL=0\r\n", {"f ratio 0.00\nCannot work out the image scale and the field of view: the system focal length is 0.00 mm.\n\n"}},
        {{"--pixel-size", "3.75"}, "TelescopeFL=-1420\r\n", {"f ratio -16.99\nCannot work out the image scale: the system focal length is -3736.84 mm.\n\n"}},
        {{"--sensor", "4.8x3.6"}, "CameraFL=0\r\n", {"f ratio 0.00\nCannot work out the field of view: the system focal length is 0.00 mm.\n\n"}},
        {{"--pixel-size", "3.75"}, "TelescopeFL=19\r\nCameraFL=0.5\r\n", {"\nImage scale 1546.988\"/px\n"}}, // 206.265 x 3.75 / 0.5
        // A film speed's title may run over its columns: 0.14426 s / 10000, 1/69321.17.
        {{"--iso", "1000000"}, "[Exposures]\r\nMoon=20", {"\nMoon    20  0.00001  1/69321.17  faster than 1/8000\n"}},
        // Columns line up as a terminal draws them, whatever script a name is written in: a wide
        // letter such as the 月 of 月=5 takes two columns.
        {{}, "[Exposures]\r\n\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0=5\r\n\xE6\x9C\x88=5\r\nMoon=20\r\n",
            {"\n\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0     5  ", "\n\xE6\x9C\x88       5  ", "\nMoon    20  "}},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--settings", write(c.file, "night.ini")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const TableRun got = run(args);
        EXPECT_EQ(got.status, 0);
        EXPECT_EQ(got.err, "");
        for (const std::string& line : c.lines)
            EXPECT_NE(got.out.find(line), std::string::npos) << line << "\nin:\n" << got.out;
    }
    // Without a file beside the program the default settings stand in, and nothing is written.
    const TableRun missing = run({});
    EXPECT_EQ(missing.err, "vellmore-table: no settings file at " + m_temp.file("Vellmore.ini") +
                               "; using the default settings\n");
    EXPECT_FALSE(std::filesystem::exists(m_temp.file("Vellmore.ini")));
    EXPECT_EQ(missing.out, run({"--settings", write(defaults)}).out);
}

TEST_F(TableApp, CsvHasAColumnForEveryFigureAndTheReasonLast)
{
    const std::string file =
        "[Exposures]\r\n\"Hale, Bopp=5\"\r\nMoon=20\r\nComet \"X\"=0\r\nDim=0.01\r\n"
        "Bright=1e6\r\n+1=20\r\n-2+3=20\r\n@SUM(A1)=20\r\n\"\tTab=20\"\r\n";
    const std::string out = run({"--csv", "--settings", write(file), "--iso", "100,400"}).out;
    // At 30 degrees, through 1.9942929 air masses: 0.14425608 s x 1.2572721, nearest 1/4 s.
    const std::string high =
        run({"--csv", "--settings", write(file), "--altitude", "30", "--bracket", "1"}).out;
    // Figures worked out with exact fractions, rounded as the calculation rounds (N^2 and K x S
    // to long double, the exposure to double).
    // clang-format off
    const struct { const std::string& csv; std::string line; } cases[] = {
        {out, "object,k,iso,altitude_deg,air_mass,exposure_s,reciprocal,shutter,offset_stops,"
              "bracket,fault\r\n\"Hale, Bopp\",5,100,,,"},
        // A speed carries its unit, so a spreadsheet keeps it as text, not as a date or a number.
        {out, "\nMoon,20,100,,,0.14425608388086358,6.932116643523108,1/8 s,0.20670406973496147,,\r\n"},
        // Number columns hold numbers or nothing; the reason has a column of its own.
        {out, "\n\"Comet \"\"X\"\"\",0,400,,,,,,,,Cannot work out the exposure: K is 0.\r\n"},
        {out, "\nDim,0.01,100,,,288.51216776172714,0.003466058321761554,bulb,,,\r\n"},
        {out, "\nBright,1e+06,100,,,2.8851216776172718e-06,346605.8321761554,faster than 1/8000,,,\r\n"},
        // Names a spreadsheet would run as a formula are written so that it takes them as text.
        {out, "\n'+1,20,100,"}, {out, "\n'-2+3,20,100,"}, {out, "\n'@SUM(A1),20,100,"}, {out, "\n'\tTab,20,100,"},
        {high, "\nMoon,20,100,30,1.9942928"}, {high, ",0.1813691524"}, {high, ",1/4 s,-0.46"}, {high, ",1/8 s 1/2 s,\r\n"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_NE(c.csv.find(c.line), std::string::npos) << c.line << "\nin:\n" << c.csv;
}

TEST_F(TableApp, JsonParsesBackWithEveryName)
{
    const std::string names =
        "[Exposures]\r\n\"Hale, Bopp=5\"\r\nComet \"X\"=7\r\nBell\x07=3\r\n"
        "Lune \xC3\xA9t\xC3\xA9=2\r\n\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0=0\r\nDim=0.01\r\n";
    const TableRun got = run({"--json", "--settings", write(names), "--iso", "100"});
    ASSERT_EQ(got.status, 0) << got.err;
    const auto json = nlohmann::json::parse(got.out); // throws, and fails the test, if invalid
    EXPECT_EQ(got.out.substr(0, 46), "{\n  \"optics\": {\n    \"telescope_fl_mm\": 1420.0,");
    EXPECT_NE(got.out.find("\"Lune \xC3\xA9t\xC3\xA9\""), std::string::npos)
        << "UTF-8, not escaped";
    EXPECT_EQ(json["optics"]["eyepiece_fl_mm"], 19);
    EXPECT_EQ(json["optics"]["camera_fl_mm"], 50);
    EXPECT_EQ(json["optics"]["aperture_mm"], 220);
    std::vector<std::string> objects;
    for (const auto& row : json["rows"])
        objects.push_back(row["object"]);
    EXPECT_EQ(objects, (std::vector<std::string>{"Hale, Bopp", "Comet \"X\"", "Bell\x07",
                                                 "Lune \xC3\xA9t\xC3\xA9",
                                                 "\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0", "Dim"}));
    EXPECT_TRUE(json["optics"]["field_arcmin"].is_null());
    EXPECT_TRUE(json["optics"]["sky_fault"].is_null());
    const auto& lune = json["rows"][3];
    EXPECT_NEAR(lune["exposure_s"].get<double>(), 0.1442560839 * 20 / 2, 1e-9);
    EXPECT_TRUE(lune["altitude_deg"].is_null() && lune["fault"].is_null());
    EXPECT_EQ(lune["bracket"], nlohmann::json::array());
    const auto& dark = json["rows"][4];
    EXPECT_TRUE(dark["exposure_s"].is_null() && dark["shutter"].is_null());
    EXPECT_EQ(dark["fault"], "Cannot work out the exposure: K is 0.");
    const auto& dim = json["rows"][5];
    EXPECT_EQ(dim["shutter"], "bulb");
    EXPECT_TRUE(dim["offset_stops"].is_null());

    const auto noImage = nlohmann::json::parse(
        run({"--json", "--settings", write("TelescopeFL=0\r\n"), "--pixel-size", "3.75"}).out);
    EXPECT_TRUE(noImage["optics"]["image_scale_arcsec_per_px"].is_null());
    EXPECT_EQ(noImage["optics"]["sky_fault"],
              "Cannot work out the image scale: the system focal length is 0.00 mm.");
}

// Greenwich on 2026-12-07: the Sun sets at 15:52 and rises at 07:52 (UTC), and the Moon is 1% lit
// at midnight (astronomy-engine, as in the sky tests).
TEST_F(TableApp, PlansTheNightFromSunsetToSunrise)
{
    const std::string file = "[Exposures]\r\nCrescentMoon=20\r\nFullMoon=200\r\nMoon=40\r\n"
                             "SATURN=13.6\r\nComet X=5\r\njupiter=0\r\n";
    const std::vector<std::string> night = {"--settings",         write(file), "--site",
                                            "51.4769,-0.0005,46", "--date",    "2026-12-07",
                                            "--utc-offset",       "+00:00"};
    auto plan = [&](std::vector<std::string> more) {
        more.insert(more.begin(), night.begin(), night.end());
        const TableRun got = run(more);
        EXPECT_EQ(got.status, 0) << got.err;
        return got.out;
    };
    const auto json = nlohmann::json::parse(plan({"--json", "--iso", "100,400", "--step", "25"}));
    EXPECT_EQ(json["night"]["sunset"].get<std::string>().substr(0, 16), "2026-12-07T15:51");
    EXPECT_EQ(json["moon"]["entry"], "CrescentMoon") << "25% is the nearest to 1%; Moon names none";
    std::vector<std::string> objects, bodies;
    for (const auto& object : json["objects"]) {
        objects.push_back(object["object"]);
        bodies.push_back(object["body"].is_null() ? "-" : object["body"].get<std::string>());
    }
    EXPECT_EQ(objects, (std::vector<std::string>{"CrescentMoon", "SATURN", "Comet X", "jupiter"}));
    EXPECT_EQ(bodies, (std::vector<std::string>{"moon", "saturn", "-", "jupiter"}));
    EXPECT_EQ(json["objects"][2]["note"], "its place in the sky is not known");
    const auto& rows = json["objects"][1]["rows"];
    // Every 25 minutes of local time from the date's midnight, from 16:15 (the 39th) after sunset
    // to 07:40 (the 76th) before sunrise.
    EXPECT_EQ(rows.front()["time"], "2026-12-07T16:15:00Z");
    EXPECT_EQ(rows.back()["time"], "2026-12-08T07:40:00Z");
    EXPECT_EQ(rows.size(), 38u);
    for (const auto& row : rows) {
        const double altitude = row["altitude_deg"];
        ASSERT_EQ(row["exposures"].size(), altitude > 0 ? 2u : 0u) << row["time"];
        if (altitude <= 20)
            continue; // lower, the air mass changes too fast for the altitude's two decimals
        // 0.14425608 s for K 20 at ISO 100, through 10^(0.1 (X - 1)) for X at this altitude.
        const double expected =
            0.14425608 * 20 / 13.6 * std::pow(10, 0.1 * (airMass(altitude) - 1));
        EXPECT_NEAR(row["exposures"][0]["exposure_s"].get<double>() / expected, 1, 1e-3);
        EXPECT_NEAR(row["exposures"][1]["exposure_s"].get<double>() / expected, 0.25, 1e-3);
        EXPECT_NEAR(row["air_mass"].get<double>(), airMass(altitude), 2e-3);
    }
    EXPECT_EQ(json["objects"][3]["rows"][30]["exposures"][0]["fault"],
              "Cannot work out the exposure: K is 0.");
    const std::string csv = plan({"--csv", "--iso", "100,400"});
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
              "object,k,body,time,local_time,sky,altitude_deg,azimuth_deg,air_mass,"
              "diameter_arcsec,lit_fraction,magnitude,diameter_px,fits_sensor,times_across,"
              "exposure_s_iso100,shutter_iso100,offset_stops_iso100,exposure_s_iso400,"
              "shutter_iso400,offset_stops_iso400,note\r\n");
    EXPECT_NE(
        csv.find("\r\nComet X,5,,,,,,,,,,,,,,0.577024,1/2 s,0.21,0.144256,1/8 s,0.21,its place"),
        std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\nSATURN,13.6,saturn,2026-12-08T02:00:00Z,02:00,dark,-4.0"),
              std::string::npos);
    const std::string text = plan({});
    EXPECT_NE(text.find("\nSunset 15:52, sunrise 07:52\n"), std::string::npos) << text;
    EXPECT_NE(
        text.find("\nSATURN (K 13.6): rises 13:20, transits 19:27 at 39.3 degrees, sets 01:34\n"),
        std::string::npos);

    // Where the Sun does not set, or does not rise, the 24 hours from local noon.
    for (const char* at : {"78.22,15.63", "-78.22,15.63"}) {
        const auto polar =
            nlohmann::json::parse(run({"--json", "--settings", write(file), "--site", at, "--date",
                                       "2026-12-21", "--utc-offset", "+01:00"})
                                      .out);
        EXPECT_TRUE(polar["night"]["sunset"].is_null() && polar["night"]["sunrise"].is_null());
        EXPECT_NE(polar["night"]["polar"].get<std::string>().find(at[0] == '-' ? "midnight sun"
                                                                               : "polar night"),
                  std::string::npos);
        const auto& hours = polar["objects"][1]["rows"];
        EXPECT_EQ(hours.front()["time"], "2026-12-21T11:00:00Z");
        EXPECT_EQ(hours.back()["time"], "2026-12-22T11:00:00Z");
        // The Moon, 93% lit and chosen as FullMoon, circles the northern sky without rising or
        // setting, and stays below the southern horizon all day (astronomy-engine agrees).
        const auto& moon = polar["objects"][0];
        EXPECT_EQ(moon["object"], "FullMoon");
        EXPECT_TRUE(moon["rise"].is_null() && moon["set"].is_null());
        EXPECT_EQ(moon["rows"][0]["exposures"].empty(), at[0] == '-');
    }
}

// Tonight's Moon: named by the entry whose phase word is nearest the lit fraction (99.8% over
// Cape Town on the night of 2100-06-21, by astronomy-engine), its K by the law scaled to the
// entries that name a phase, else the only or first entry's K as it stands.
TEST_F(TableApp, ChoosesTheMoonEntryNearestTonightsPhase)
{
    // clang-format off
    const std::pair<const char*, std::optional<double>> phases[] = {
        {"new moon", 0}, {"CRESCENT", 0.25}, {"QuarterMoon", 0.5}, {"HalfMoon", 0.5}, {"Gibbous", 0.75},
        {"FullMoon", 1}, {"Moon", std::nullopt}};
    // K / law at 75% lit (60 degrees) is 2 / 0.3021 = 6.62, at full 3: their geometric mean 4.46.
    const struct { const char* file; const char* entry; std::optional<double> fullK; const char* why; } cases[] = {
        {"[Exposures]\r\nNewMoon=1\r\nGibbousMoon=2\r\nFullMoon=3\r\n", "FullMoon", 4.46, "its K follows the phase by Krisciunas and Schaefer's law, scaled to GibbousMoon 2, FullMoon 3: "},
        {"[Exposures]\r\nmoon=40\r\n", "moon", std::nullopt, "the file's only entry for the Moon, its K as it stands"},
        {"[Exposures]\r\nMoon A=1\r\nMoon B=2\r\n", "Moon A", std::nullopt, "no Moon entry names a phase the law reaches, so the first is used, its K as it stands"},
    };
    // clang-format on
    for (const auto& [name, phase] : phases)
        EXPECT_EQ(namedPhase(name), phase) << name;
    for (const auto& c : cases) {
        const auto json = nlohmann::json::parse(
            run({"--json", "--settings", write(c.file), "--site", "-33.92,18.42", "--date",
                 "2100-06-21", "--utc-offset", "+02:00"})
                .out);
        const auto& moon = json["moon"];
        EXPECT_NEAR(moon["illuminated"].get<double>(), 0.998, 0.01);
        EXPECT_EQ(moon["entry"], c.entry);
        EXPECT_EQ(moon["why"].get<std::string>().rfind(c.why, 0), 0u) << moon["why"];
        EXPECT_EQ(json["objects"].size(), 1u) << "the Moon once, whatever its entries";
        if (c.fullK) {
            EXPECT_NEAR(moon["k_full_moon"].get<double>(), *c.fullK, 0.01);
        } else {
            EXPECT_TRUE(moon["k_full_moon"].is_null());
            for (const auto& row : json["objects"][0]["rows"])
                EXPECT_EQ(row["k"], moon["k"]) << "the entry's own K at every step";
        }
    }
    // Where the Sun stays up, the text says so; an event that does not happen is "none".
    const std::string text = run({"--settings", write("[Exposures]\r\nmoon=40\r\n"), "--site",
                                  "69.65,18.96", "--date", "2026-06-21", "--utc-offset", "+02:00"})
                                 .out;
    EXPECT_NE(text.find("\nThe Sun does not set tonight (midnight sun); the plan covers the 24 "
                        "hours from local noon.\n"),
              std::string::npos)
        << text;
}

// The Moon's K by Krisciunas and Schaefer's law, scaled to the default file's CrescentMoon 20,
// QuarterMoon 40 and FullMoon 200: about 21, 37, 61 and 203 at 25, 50, 75 and 100% lit, with no
// jump between them; FullMoon=200 alone gives the same shape. A Moon under 7% lit (1% on the
// night of 2026-12-07) takes the law's value at 150 degrees: 202.89 x 10^(-0.4 x 5.925) / 0.067.
TEST_F(TableApp, GivesTheMoonTheKOfItsPhase)
{
    const auto moonOf = [this](const char* file, const char* date) {
        return nlohmann::json::parse(
            run({"--json", "--settings", write(file), "--site", "34.05,-118.25,100", "--date", date,
                 "--utc-offset", "-08:00"})
                .out)["moon"];
    };
    const auto defaults = moonOf("[Exposures]\r\nCrescentMoon=20\r\nQuarterMoon=40\r\n"
                                 "FullMoon=200\r\n",
                                 "2026-12-07");
    const auto fullOnly = moonOf("[Exposures]\r\nFullMoon=200\r\n", "2026-12-07");
    const double scale = defaults["k_full_moon"].get<double>();
    const std::pair<double, double> figures[] = {{120, 21}, {90, 37}, {60, 61}, {0, 203}};
    for (const auto& [angle, k] : figures) {
        EXPECT_NEAR(moonK(scale, angle), k, 0.05 * k) << angle;
    }
    EXPECT_EQ(fullOnly["k_full_moon"], 200);
    EXPECT_NEAR(defaults["k"].get<double>(), 12.92, 0.01);
    EXPECT_NE(defaults["why"].get<std::string>().find("too near the Sun for the law"),
              std::string::npos);
    // Steps apart, the K follows the phase; a Moon=50 file keeps its 50.
    const auto night = nlohmann::json::parse(
        run({"--json", "--site", "34.05,-118.25,100", "--date", "2026-12-21", "--utc-offset",
             "-08:00", "--settings",
             write("[Exposures]\r\nQuarterMoon=40\r\nFullMoon=200\r\nMoon=50\r\n")})
            .out);
    const auto& rows = night["objects"][0]["rows"];
    EXPECT_NE(rows.front()["k"], rows.back()["k"]);
    EXPECT_EQ(moonOf("[Exposures]\r\nMoon=50\r\n", "2026-12-21")["k"], 50);
}

// Each planet's disc at midnight and at every step; against a sensor of 3.76 um pixels, 23.5 x
// 15.6 mm, behind 3736.84 mm: 206.265 x 3.76 / 3736.84 = 0.20754"/px, and a short side of
// 2 atan(7.8 / 3736.84) = 861.1".
TEST_F(TableApp, GivesEachDiscItsSizeOnTheSensor)
{
    const auto json = nlohmann::json::parse(
        run({"--json", "--site", "34.05,-118.25,100", "--date", "2026-12-07", "--utc-offset",
             "-08:00", "--step", "120", "--pixel-size", "3.76", "--sensor", "23.5x15.6"})
            .out);
    for (const auto& object : json["objects"]) {
        SCOPED_TRACE(object["object"].get<std::string>());
        for (const auto& disc : {object["disc"], object["rows"][0]}) {
            const double diameter = disc["diameter_arcsec"];
            EXPECT_NEAR(disc["diameter_px"].get<double>(), diameter / 0.20754,
                        1e-4 * diameter / 0.20754 + 0.05);
            EXPECT_NEAR(disc["times_across"].get<double>(), 861.1 / diameter,
                        0.01 * 861.1 / diameter);
            EXPECT_EQ(disc["fits_sensor"], diameter <= 861.1);
            EXPECT_EQ(disc["magnitude"].is_null(), object["body"] == "moon");
        }
    }
}

// The film speed for a shutter speed: S = N^2 / (K t) through the air, N = (1420 / 19 x 50) /
// 220 = 16.98565, and the third-stop ISO at or above it.
TEST_F(TableApp, GivesTheFilmSpeedForAShutterSpeed)
{
    // The third-stop scale as cameras mark it, whole: each mark stands for itself, the least
    // step past it for the next; below it is 100, past it nothing.
    const double scale[] = {100,   125,   160,   200,   250,   320,   400,   500,
                            640,   800,   1000,  1250,  1600,  2000,  2500,  3200,
                            4000,  5000,  6400,  8000,  10000, 12800, 16000, 20000,
                            25600, 32000, 40000, 51200, 64000, 80000, 102400};
    for (size_t i = 0; i < std::size(scale); ++i) {
        EXPECT_EQ(isoAtOrAbove(scale[i]), formatGeneral(scale[i]));
        EXPECT_EQ(isoAtOrAbove(std::nextafter(scale[i], 1e9)),
                  i + 1 < std::size(scale) ? formatGeneral(scale[i + 1]) : "above 102400");
    }
    EXPECT_EQ(isoAtOrAbove(1), "100");
    const double n = 1420.0 / 19 * 50 / 220;
    const auto json =
        nlohmann::json::parse(run({"--json", "--shutter", "1/250,2", "--altitude", "30"}).out);
    const double factor = std::pow(10, 0.1 * (airMass(30) - 1));
    for (const auto& row : json["rows"]) {
        const double k = row["k"];
        const double t = row["shutter_s"];
        const double speed = n * n / (k * t) * factor;
        SCOPED_TRACE(row["object"].get<std::string>() + " " + row["shutter"].get<std::string>());
        EXPECT_NEAR(row["iso_for_shutter"].get<double>() / speed, 1, 1e-9);
        EXPECT_EQ(row["iso"], isoAtOrAbove(speed));
    }
    EXPECT_EQ(json["rows"][0]["shutter"], "1/250");
    EXPECT_EQ(json["rows"][1]["shutter_s"], 2);
    // In a night's plan, each row through its own air; the text prints the speed to 0.1.
    const std::vector<std::string> night = {
        "--site", "51.4769,-0.0005,46", "--date", "2026-12-07", "--utc-offset",
        "+00:00", "--shutter",          "1/60",   "--step",     "120"};
    std::vector<std::string> asJson = night;
    asJson.push_back("--json");
    const auto plan = nlohmann::json::parse(run(asJson).out);
    const auto& saturn = plan["objects"][1];
    ASSERT_EQ(saturn["object"], "Saturn");
    const auto& row = saturn["rows"][0];
    const double speed =
        n * n * 60 / 13.6 * std::pow(10, 0.1 * (row["air_mass"].get<double>() - 1));
    EXPECT_NEAR(row["exposures"][0]["iso_for_shutter"].get<double>() / speed, 1, 2e-3);
    const std::string text = run(night).out;
    EXPECT_NE(text.find("1/60 s"), std::string::npos) << text;
    EXPECT_NE(text.find("speed  ISO"), std::string::npos) << text;
    const std::string csv = run({"--csv", "--shutter", "1/250"}).out;
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
              "object,k,shutter,shutter_s,altitude_deg,air_mass,iso_for_shutter,iso,fault\r\n");
}

// The chart: a whole SVG document, put in place only once it is whole.
TEST_F(TableApp, DrawsTheNightAsAChart)
{
    const std::string chart = m_temp.file("night.svg");
    testing::writeFile(chart, "an older chart");
    const std::vector<std::string> night = {"--settings",   write(settings::defaultContent()),
                                            "--site",       "51.48,0",
                                            "--date",       "2026-12-07",
                                            "--utc-offset", "+00:00"};
    auto draw = [&](const std::string& to) {
        std::vector<std::string> args = night;
        args.insert(args.end(), {"--svg", to});
        return run(args);
    };
    EXPECT_EQ(draw(chart).status, 0);
    const std::string svg = testing::contentOf(chart);
    EXPECT_EQ(svg.substr(0, 38), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    for (const char* seen : {">Saturn</text>", ">Jupiter</text>", ">18:00</text>", ">dark</text>"})
        EXPECT_NE(svg.find(seen), std::string::npos) << seen;
    const TableRun nowhere = draw(m_temp.file("missing") + "/night.svg");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err.substr(0, 40), "vellmore-table: could not write the char");
}

TEST_F(TableApp, ExitStatusTellsWhatWentWrong)
{
    const std::string big = "1" + std::string(400, '0');
    const std::string tiny = "0." + std::string(400, '0') + "1";
    const std::string largest = "1.79769313486231E+308";
    auto range = [](const std::string& option, const std::string& value, const std::string& must) {
        return "vellmore-table: " + option + ": \"" + value + "\" is out of range; it must be " +
               must;
    };
    const std::string iso = "above 0 and at most " + largest;
    const std::string height = "above 0 and up to 90 degrees";
    const std::string shutter = "above 0 and up to 3600 seconds";
    const std::string sensor = "vellmore-table: --sensor takes the sensor's width and height in "
                               "millimetres, as 4.8x3.6, not ";
    const std::string site = "vellmore-table: --site: ";
    const std::string dates = "; it must be a date from 1900-01-01 to 2100-12-31, as YYYY-MM-DD";
    // status 0: the arguments are taken, and the table is printed.
    // clang-format off
    const struct { std::vector<std::string> args; int status; std::string err; } cases[] = {
        {{"--bogus"}, 2, "vellmore-table: unknown argument \"--bogus\""},
        {{"--iso", "0"}, 2, range("--iso", "0", iso)},
        {{"--iso", big}, 2, range("--iso", big, iso)},
        {{"--iso", "inf"}, 2, "vellmore-table: --iso takes film speeds separated by commas, not \"inf\""},
        {{"--iso", "100,nan"}, 2, "vellmore-table: --iso takes film speeds separated by commas, not \"100,nan\""},
        {{"--iso", "1e3"}, 2, "vellmore-table: --iso takes film speeds separated by commas, not \"1e3\""},
        {{"--settings"}, 2, "vellmore-table: --settings needs a value"},
        {{"--csv=yes"}, 2, "vellmore-table: --csv takes no value"},
        {{"--altitude", "0"}, 2, range("--altitude", "0", height)},
        {{"--altitude", "45,90.0001"}, 2, range("--altitude", "90.0001", height)},
        {{"--altitude", "0.0001,90"}, 0, ""},
        {{"--iso", "0.5", "--pixel-size", "0.5"}, 0, ""},
        {{"--altitude=abc"}, 2, "vellmore-table: --altitude takes heights in degrees separated by commas, not \"abc\""},
        {{"--altitude", "30", "--extinction", "-0.0001"}, 2, range("--extinction", "-0.0001", "from 0 to 2")},
        {{"--altitude", "30", "--extinction", "2.0001"}, 2, range("--extinction", "2.0001", "from 0 to 2")},
        {{"--altitude", "30", "--extinction", "0", "--extinction", "2"}, 0, ""}, // both ends are in range
        {{"--extinction", "0.3"}, 2, "vellmore-table: --extinction needs --altitude or --site"},
        // A shutter speed above 0 and up to an hour, as seconds or 1/N; it decides the film speed.
        {{"--shutter", "0"}, 2, range("--shutter", "0", shutter)},
        {{"--shutter", "1/250,-0.5"}, 2, range("--shutter", "-0.5", shutter)},
        {{"--shutter", "nan"}, 2, range("--shutter", "nan", shutter)},
        {{"--shutter", "inf"}, 2, range("--shutter", "inf", shutter)},
        {{"--shutter", "3600.001"}, 2, range("--shutter", "3600.001", shutter)},
        {{"--shutter", "1/0"}, 2, range("--shutter", "1/0", shutter)},
        {{"--shutter", "fast"}, 2, "vellmore-table: --shutter takes shutter speeds separated by commas, as 1/250 or 0.004 seconds, not \"fast\""},
        {{"--shutter", "3600,1/8000"}, 0, ""},
        {{"--shutter", "1/250", "--iso", "400"}, 2, "vellmore-table: --shutter and --iso cannot be used together: the shutter speed decides the film speed"},
        {{"--shutter", "1/250", "--bracket", "1"}, 2, "vellmore-table: --shutter and --bracket cannot be used together: the shutter speed is fixed"},
        // A night's plan: each number in its own range, each named with the range it must lie in.
        {{"--site", "90.01,0"}, 2, site + "the latitude \"90.01\" is out of range; it must be from -90 to 90 degrees"},
        {{"--site", "0,-180.01"}, 2, site + "the longitude \"-180.01\" is out of range; it must be from -180 to 180 degrees"},
        {{"--site", "0,0,-501"}, 2, site + "the height \"-501\" is out of range; it must be from -500 to 10000 metres"},
        {{"--site", "0,0,10001"}, 2, site + "the height \"10001\" is out of range; it must be from -500 to 10000 metres"},
        {{"--site", "0,0,0,0"}, 2, "vellmore-table: --site takes the latitude and longitude in degrees and the height in metres, as 51.48,-0.01,20, not \"0,0,0,0\""},
        {{"--site", "0,0", "--date", "2026-02-30"}, 2, "vellmore-table: --date: \"2026-02-30\" is not a date" + dates},
        {{"--site", "0,0", "--date", "1899-12-31"}, 2, "vellmore-table: --date: \"1899-12-31\" is out of range" + dates},
        {{"--site", "0,0", "--date", "2101-01-01"}, 2, "vellmore-table: --date: \"2101-01-01\" is out of range" + dates},
        {{"--site", "0,0", "--utc-offset", "+14:01"}, 2, "vellmore-table: --utc-offset: \"+14:01\" is out of range; it must be from -14:00 to +14:00"},
        {{"--site", "0,0", "--utc-offset", "-14:30"}, 2, "vellmore-table: --utc-offset: \"-14:30\" is out of range; it must be from -14:00 to +14:00"},
        {{"--site", "0,0", "--utc-offset", "5"}, 2, "vellmore-table: --utc-offset takes the local time's offset from UTC as +HH:MM, not \"5\""},
        {{"--site", "0,0", "--step", "0"}, 2, "vellmore-table: --step: \"0\" is out of range; it must be from 1 to 240 minutes"},
        {{"--site", "0,0", "--step", "241"}, 2, "vellmore-table: --step: \"241\" is out of range; it must be from 1 to 240 minutes"},
        {{"--site", "0,0", "--step", "1.5"}, 2, "vellmore-table: --step takes whole minutes, not \"1.5\""},
        {{"--site", "north"}, 2, "vellmore-table: --site takes the latitude and longitude in degrees and the height in metres, as 51.48,-0.01,20, not \"north\""},
        {{"--site", "0,0", "--utc-offset", "+05:60"}, 2, "vellmore-table: --utc-offset takes the local time's offset from UTC as +HH:MM, not \"+05:60\""},
        {{"--date", "2026-12-07"}, 2, "vellmore-table: --date needs --site"},
        {{"--site", "0,0", "--altitude", "30"}, 2, "vellmore-table: --site and --altitude cannot be used together: the site gives the altitudes"},
        {{"--site", "90,180,10000", "--date", "1900-01-01", "--utc-offset", "-14:00", "--step", "240"}, 0, ""},
        {{"--site", "-90,-180,-500", "--date", "2100-12-31", "--utc-offset", "+14:00", "--step", "1"}, 0, ""},
        {{"--bracket", "4"}, 2, "vellmore-table: --bracket takes 1, 2 or 3 stops, not \"4\""},
        {{"--bracket", "0"}, 2, "vellmore-table: --bracket takes 1, 2 or 3 stops, not \"0\""},
        {{"--pixel-size", "0"}, 2, range("--pixel-size", "0", iso)},
        {{"--pixel-size", tiny}, 2, range("--pixel-size", tiny, iso)},
        {{"--sensor", "4.8"}, 2, sensor + "\"4.8\""},
        {{"--sensor", "4.8x"}, 2, sensor + "\"4.8x\""},
        {{"--sensor", "4.8x3.6x1"}, 2, sensor + "\"4.8x3.6x1\""},
        {{"--sensor", "4.8x0"}, 2, range("--sensor", "0", iso)},
        // A list where one value is meant is refused whole.
        {{"--site", "0,0", "--step", "10,20"}, 2, "vellmore-table: --step takes whole minutes, not \"10,20\""},
        {{"--site", "0,0", "--utc-offset", "+01:00,+02:00"}, 2, "vellmore-table: --utc-offset takes the local time's offset from UTC as +HH:MM, not \"+01:00,+02:00\""},
        {{"--site", "0,0", "--date", "2026-12-07,2026-12-08"}, 2, "vellmore-table: --date: \"2026-12-07,2026-12-08\" is not a date" + dates},
        {{"--pixel-size", "3,4"}, 2, "vellmore-table: --pixel-size takes the pixel size in micrometres, not \"3,4\""},
        {{"--altitude", "30", "--extinction", "0.2,0.3"}, 2, "vellmore-table: --extinction takes magnitudes per air mass, not \"0.2,0.3\""},
        {{"--bracket", "1,2"}, 2, "vellmore-table: --bracket takes 1, 2 or 3 stops, not \"1,2\""},
        {{"--sensor", "23.5x15.6,1x1"}, 2, sensor + "\"23.5x15.6,1x1\""},
        {{"--json", "--csv"}, 2, "vellmore-table: --csv and --json cannot be used together"},
        {{"--settings", m_temp.file("night.ini")}, 1, "vellmore-table: there is no settings file " + m_temp.file("night.ini")},
        {{"--settings", write(std::string("\xFF\xFEK\0", 4), "night16.ini")}, 1, "vellmore-table: " + m_temp.file("night16.ini") + " is saved as UTF-16; save it as plain text. Nothing was loaded or changed."},
        {{"--settings", write("EyepieceFL=0\r\n", "e.ini")}, 1, "vellmore-table: Cannot work out the magnification: the eyepiece focal length is 0."},
        {{"--settings", write("TelescopeAperture=0\r\n", "a.ini")}, 1, "vellmore-table: Cannot work out the f ratio: the telescope aperture is 0."},
        {{"--settings", write("TelescopeFL=1e999\r\n", "t.ini")}, 1, "vellmore-table: Cannot read the inputs: the telescope focal length is too large a number."},
        {{"--settings", write("FilmISO=1e999\r\n", "s.ini")}, 1, "vellmore-table: Cannot read the inputs: the film ISO is too large a number."},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        if (c.status == 0)
            args.insert(args.end(), {"--settings", write(settings::defaultContent(), "ok.ini")});
        const TableRun got = run(args);
        EXPECT_EQ(got.status, c.status) << c.args[0];
        EXPECT_EQ(got.err.substr(0, got.err.find('\n')), c.err);
        EXPECT_EQ(got.out.empty(), c.status != 0);
        EXPECT_EQ(got.err.find("usage: vellmore-table") != std::string::npos, c.status == 2);
    }
    EXPECT_EQ(run({"--version"}).status, 0);
    const TableRun help = run({"-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vellmore-table", 0), 0u);
    EXPECT_EQ(help.out, run({"--help"}).out);
}

} // namespace
} // namespace vellmore::table
