#include "settings/settingsfile.h"
#include "table/tableapp.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace vellmore::table {
namespace {

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
             "      0.04534    1/22.05  1/30 +0.4    1/60 1/15\n", "\nAt 10 degrees: air mass 5.586, 2.875 times"}},
        {{"--altitude", "10", "--extinction", "1", "--bracket", "2"}, defaults,
            {"\nCrescentMoon    20   9.85255  1/0.10  8 +0.3    2 4 15 30\n"}},
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

TEST_F(TableApp, CsvHasAColumnForEveryFigure)
{
    const std::string file = "[Exposures]\r\n\"Hale, Bopp=5\"\r\nMoon=20\r\nComet \"X\"=0\r\n";
    const std::string out = run({"--csv", "--settings", write(file), "--iso", "100,400"}).out;
    // At 30 degrees, through 1.9942929 air masses: 0.14425608 s x 1.2572721, nearest 1/4 s.
    const std::string high =
        run({"--csv", "--settings", write(file), "--altitude", "30", "--bracket", "1"}).out;
    // clang-format off
    const struct { const std::string& csv; std::string line; } cases[] = {
        {out, "object,k,iso,altitude_deg,air_mass,exposure_s,reciprocal,shutter,offset_stops,"
              "bracket\r\n\"Hale, Bopp\",5,100,,,"},
        {out, "\nMoon,20,100,,,0.14425608388086358,6.932116643523108,1/8,0.20670406973496147,\r\n"},
        {out, "\n\"Comet \"\"X\"\"\",0,400,,,Cannot work out the exposure: K is 0.,,,,\r\n"},
        {high, "\nMoon,20,100,30,1.9942928"},
        {high, ",0.1813691524"},
        {high, ",1/4,-0.46"},
        {high, ",1/8 1/2\r\n"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_NE(c.csv.find(c.line), std::string::npos) << c.line << "\nin:\n" << c.csv;
}

TEST_F(TableApp, JsonParsesBackWithEveryName)
{
    const std::string names = "[Exposures]\r\n\"Hale, Bopp=5\"\r\nComet \"X\"=7\r\nBell\x07=3\r\n"
                              "Lune \xC3\xA9t\xC3\xA9=2\r\nBad\xFF=0\r\n";
    const TableRun got = run({"--json", "--settings", write(names), "--iso", "100"});
    ASSERT_EQ(got.status, 0) << got.err;
    const auto json = nlohmann::json::parse(got.out); // throws, and fails the test, if invalid
    std::vector<std::string> objects;
    for (const auto& row : json["rows"])
        objects.push_back(row["object"]);
    EXPECT_EQ(objects, (std::vector<std::string>{"Hale, Bopp", "Comet \"X\"", "Bell\x07",
                                                 "Lune \xC3\xA9t\xC3\xA9", "Bad\xEF\xBF\xBD"}));
    EXPECT_TRUE(json["optics"]["field_arcmin"].is_null());
    const auto& lune = json["rows"][3];
    EXPECT_NEAR(lune["exposure_s"].get<double>(), 0.1442560839 * 20 / 2, 1e-9);
    EXPECT_TRUE(lune["altitude_deg"].is_null() && lune["fault"].is_null());
    EXPECT_EQ(lune["bracket"], nlohmann::json::array());
    const auto& bad = json["rows"][4];
    EXPECT_TRUE(bad["exposure_s"].is_null() && bad["shutter"].is_null());
    EXPECT_EQ(bad["fault"], "Cannot work out the exposure: K is 0.");
}

TEST_F(TableApp, ExitStatusTellsWhatWentWrong)
{
    std::filesystem::create_directory(m_temp.file("folder"));
    const std::string iso =
        "vellmore-table: --iso takes positive numbers separated by commas, not ";
    const std::string height = "vellmore-table: --altitude takes heights above 0 and up to 90 "
                               "degrees separated by commas, not ";
    const std::string sensor = "vellmore-table: --sensor takes the sensor's width and height in "
                               "millimetres, as 4.8x3.6, not ";
    // clang-format off
    const struct { std::vector<std::string> args; int status; std::string err; } cases[] = {
        {{"--bogus"}, 2, "vellmore-table: unknown argument \"--bogus\""},
        {{"--iso", "100,-5"}, 2, iso + "\"-5\""},
        {{"--iso", "0"}, 2, iso + "\"0\""},
        {{"--settings"}, 2, "vellmore-table: --settings needs a value"},
        {{"--csv=yes"}, 2, "vellmore-table: --csv takes no value"},
        {{"--altitude", "0"}, 2, height + "\"0\""},
        {{"--altitude", "45,91"}, 2, height + "\"91\""},
        {{"--altitude=abc"}, 2, height + "\"abc\""},
        {{"--altitude", "30", "--extinction", "-1"}, 2, "vellmore-table: --extinction takes magnitudes per air mass from 0 to 2, not \"-1\""},
        {{"--extinction", "0.3"}, 2, "vellmore-table: --extinction needs --altitude"},
        {{"--bracket", "4"}, 2, "vellmore-table: --bracket takes 1, 2 or 3 stops, not \"4\""},
        {{"--pixel-size", "0"}, 2, "vellmore-table: --pixel-size takes the pixel size in micrometres, above 0, not \"0\""},
        {{"--sensor", "4.8"}, 2, sensor + "\"4.8\""},
        {{"--sensor", "4.8x"}, 2, sensor + "\"4.8x\""},
        {{"--json", "--csv"}, 2, "vellmore-table: --csv and --json cannot be used together"},
        {{"--settings", m_temp.file("folder")}, 1, "vellmore-table: The settings file " + m_temp.file("folder") + " is a folder, not a plain text file. Nothing was loaded or changed."},
        {{"--settings", m_temp.file("night.ini")}, 1, "vellmore-table: there is no settings file " + m_temp.file("night.ini")},
        {{"--settings", write(std::string("\xFF\xFEK\0", 4), "night16.ini")}, 1, "vellmore-table: " + m_temp.file("night16.ini") + " is saved as UTF-16; save it as plain text. Nothing was loaded or changed."},
        {{"--settings", write("EyepieceFL=0\r\n", "e.ini")}, 1, "vellmore-table: Cannot work out the magnification: the eyepiece focal length is 0."},
        {{"--settings", write("TelescopeFL=1e999\r\n", "t.ini")}, 1, "vellmore-table: Cannot read the inputs: the telescope focal length is too large a number."},
    };
    // clang-format on
    for (const auto& c : cases) {
        const TableRun got = run(c.args);
        EXPECT_EQ(got.status, c.status) << c.args[0];
        EXPECT_EQ(got.err.substr(0, got.err.find('\n')), c.err);
        EXPECT_EQ(got.out, "");
        EXPECT_EQ(got.err.find("usage: vellmore-table") != std::string::npos, c.status == 2);
    }
    const std::string help = run({"--help"}).out;
    for (const char* option :
         {"--settings FILE", "--iso LIST", "--altitude LIST", "--extinction K", "--bracket N",
          "--pixel-size UM", "--sensor WxH", "--csv", "--json", "--help", "--version"})
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
}

} // namespace
} // namespace vellmore::table
