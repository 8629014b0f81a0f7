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
    bool prints(const TableRun& run, const std::string& lines) const
    {
        return run.out.find(lines) != std::string::npos;
    }

    testing::TestDir m_temp;
};

// RFC 4180 records, as a spreadsheet reads them.
std::vector<std::vector<std::string>> parseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"')
            field += text[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ',' || c == '\n'))
            rows.back().push_back(std::exchange(field, {}));
        else if (quoted || c != '\r')
            field += c;
        if (!quoted && c == '\n')
            rows.emplace_back();
    }
    rows.pop_back(); // after the last line end
    return rows;
}

TEST_F(TableApp, PrintsTheWindowsFiguresPerObjectAndIso)
{
    const TableRun one = run({"--settings", write(settings::defaultContent())});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.err, "");
    const std::string start =
        "Telescope 1420 mm, eyepiece 19 mm, camera lens 50 mm, aperture 220 mm\n"
        "Magnification 74.74X, system focal length 3736.84 mm, f ratio 16.99\n\n"
        "                    ISO 100\n"
        "Object           K  seconds       1/s  shutter\n"
        "CrescentMoon    20  0.14426    1/6.93  1/8 +0.2\n"
        "QuarterMoon     40  0.07213   1/13.86  1/15 +0.1\n"
        "FullMoon       200  0.01443   1/69.32  1/60 -0.2\n";
    EXPECT_EQ(one.out.substr(0, start.size()), start);
    EXPECT_TRUE(prints(one, "Venus         1310  0.00220  1/454.05  1/500 +0.1\n"));

    const TableRun three = run({"--settings", m_temp.file("Vellmore.ini"), "--iso=100,400,1600"});
    EXPECT_TRUE(prints(three, "  ISO 100                        ISO 400                          "
                              "ISO 1600\n"));
    EXPECT_TRUE(prints(three, "CrescentMoon    20  0.14426    1/6.93  1/8 +0.2    0.03606    "
                              "1/27.73  1/30 +0.1    0.00902   1/110.91  1/125 +0.2\n"));
}

TEST_F(TableApp, MissingFileUsesTheDefaultsAndWritesNothing)
{
    const TableRun got = run({});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.err, "vellmore-table: no settings file at " + m_temp.file("Vellmore.ini") +
                           "; using the default settings\n");
    EXPECT_FALSE(testing::exists(m_temp.file("Vellmore.ini")));
    EXPECT_EQ(got.out, run({"--settings", write(settings::defaultContent())}).out);
}

TEST_F(TableApp, AFaultingObjectKeepsItsRowAndSaysWhyOnce)
{
    const TableRun got =
        run({"--settings", write("FilmISO=200\r\n[Exposures]\r\nDark=0\r\nMoon=20")});
    EXPECT_EQ(got.status, 0);
    EXPECT_TRUE(prints(got,
                       "Dark     0        -        -  -          Cannot work out the exposure: "
                       "K is 0.\nMoon    20  0.07213  1/13.86  1/15 +0.1\n"))
        << got.out;

    // With no telescope focal length every exposure is 0 s: only its reciprocal faults.
    const TableRun zero = run(
        {"--settings", write("TelescopeFL=0\r\n[Exposures]\r\nMoon=20"), "--iso", "100,400,1600"});
    const std::string row = zero.out.substr(zero.out.find("\nMoon") + 1);
    const std::string why = "Cannot work out 1 / exposure: the exposure is 0 seconds because the "
                            "telescope focal length is 0.";
    EXPECT_EQ(row.rfind("Moon    20  0.00000    -  -        0.00000", 0), 0u) << row;
    EXPECT_EQ(row.find(why), row.rfind(why)) << "once however many film speeds";
    EXPECT_NE(row.find(why), std::string::npos) << row;
}

TEST_F(TableApp, CsvReadsBackAsTheFigures)
{
    const std::string file = "[Exposures]\r\n\"Hale, Bopp=5\"\r\nMoon=20\r\nComet \"X\"=0\r\n";
    const TableRun got = run({"--csv", "--settings", write(file), "--iso", "100,400"});
    ASSERT_EQ(got.status, 0);
    const auto rows = parseCsv(got.out);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"object", "k", "iso", "altitude_deg", "air_mass",
                                                 "exposure_s", "reciprocal", "shutter",
                                                 "offset_stops", "bracket"}));
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), 10u);
    EXPECT_EQ(rows[1][0], "Hale, Bopp");
    EXPECT_EQ(rows[3],
              (std::vector<std::string>{"Moon", "20", "100", "", "", "0.14425608388086358",
                                        "6.932116643523108", "1/8", "0.20670406973496147", ""}));
    EXPECT_EQ(rows[5][0], "Comet \"X\"");
    EXPECT_EQ(rows[5][5], "Cannot work out the exposure: K is 0.");
    EXPECT_EQ(rows[5][6], "");

    // At 30 degrees through 1.994 air masses: 0.144256 s x 1.257272.
    const auto high = parseCsv(
        run({"--csv", "--settings", write(file), "--altitude", "30", "--bracket", "1"}).out);
    EXPECT_EQ(high[2][3], "30");
    EXPECT_NEAR(std::stod(high[2][4]), 1.9942929, 1e-7);
    EXPECT_NEAR(std::stod(high[2][5]), 0.18136915, 1e-8);
    EXPECT_EQ(high[2][7] + " " + high[2][9], "1/4 1/8 1/2");
}

TEST_F(TableApp, PlansForAltitudesBracketsAndTheSensor)
{
    const std::string ini = write(settings::defaultContent());
    const TableRun got = run({"--settings", ini, "--iso", "100,400", "--altitude", "30,10",
                              "--bracket=1", "--pixel-size", "3.75", "--sensor", "4.8x3.6"});
    EXPECT_TRUE(
        prints(got, "f ratio 16.99\nImage scale 0.207\"/px, field of view 4.42' x 3.31'\n"));
    EXPECT_TRUE(prints(got, "\nAt 30 degrees: air mass 1.994, 1.257 times the zenith exposure "
                            "(extinction 0.25 mag per air mass)\n"));
    EXPECT_TRUE(prints(got, "\nCrescentMoon    20  0.18137    1/5.51  1/4 -0.5    1/8 1/2     "
                            "  0.04534    1/22.05  1/30 +0.4"))
        << got.out;
    EXPECT_TRUE(prints(got, "\nAt 10 degrees: air mass 5.586, 2.875 times"));

    // Through 5.586 air masses of air that dims by 1 magnitude each: 0.144256 s x 68.299.
    const TableRun low =
        run({"--settings", ini, "--altitude", "10", "--extinction", "1", "--bracket", "2"});
    EXPECT_TRUE(prints(low, "\nCrescentMoon    20   9.85255  1/0.10  8 +0.3    2 4 15 30\n"))
        << low.out;
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
    EXPECT_NEAR(json["optics"]["system_fl_mm"].get<double>(), 50 * 1420.0 / 19, 1e-9);
    EXPECT_TRUE(json["optics"]["image_scale_arcsec_per_px"].is_null());
    EXPECT_TRUE(json["optics"]["field_arcmin"].is_null());
    const auto& moon = json["rows"][3];
    EXPECT_NEAR(moon["exposure_s"].get<double>(), 0.1442560839 * 20 / 2, 1e-9);
    EXPECT_TRUE(moon["altitude_deg"].is_null() && moon["air_mass"].is_null());
    EXPECT_EQ(moon["bracket"], nlohmann::json::array());
    EXPECT_TRUE(moon["fault"].is_null());
    const auto& bad = json["rows"][4];
    EXPECT_TRUE(bad["exposure_s"].is_null() && bad["shutter"].is_null());
    EXPECT_EQ(bad["fault"], "Cannot work out the exposure: K is 0.");

    const auto sky = nlohmann::json::parse(
        run({"--json", "--settings", write(names), "--pixel-size", "3.75", "--sensor", "4.8x3.6"})
            .out)["optics"];
    EXPECT_NEAR(sky["image_scale_arcsec_per_px"].get<double>(), 0.207, 0.0005);
    EXPECT_NEAR(sky["field_arcmin"][1].get<double>(), 3.31, 0.005);
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
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        // clang-format off
        {{"--bogus"}, 2, "vellmore-table: unknown argument \"--bogus\""},
        {{"stray"}, 2, "vellmore-table: unknown argument \"stray\""},
        {{"--iso", "100,-5"}, 2, iso + "\"-5\""},
        {{"--iso", "0"}, 2, iso + "\"0\""},
        {{"--iso", "100,,400"}, 2, iso + "\"\""},
        {{"--iso", "1e400"}, 2, iso + "\"1e400\""},
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
        {{"--settings", write("TelescopeAperture=\r\n", "a.ini")}, 1, "vellmore-table: Cannot work out the f ratio: the telescope aperture is 0."},
        {{"--settings", write("TelescopeFL=1e999\r\n", "t.ini")}, 1, "vellmore-table: Cannot read the inputs: the telescope focal length is too large a number."},
        // clang-format on
    };
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
