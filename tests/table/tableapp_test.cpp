#include "settings/settingsfile.h"
#include "table/tableapp.h"

#include <gtest/gtest.h>

#include "testdir.h"

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
        const std::string path = m_temp.file(name);
        testing::writeFile(path, content);
        return path;
    }
    TableRun run(const std::vector<std::string>& args) const
    {
        std::ostringstream out, err;
        const int status = runTable(args, m_dir, out, err);
        return {status, out.str(), err.str()};
    }

    testing::TestDir m_temp;
    std::string m_dir = m_temp.path();
};

// RFC 4180 records, as a spreadsheet reads them.
std::vector<std::vector<std::string>> parseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::exchange(field, {}));
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(std::exchange(field, {}));
            rows.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    rows.pop_back(); // after the last line end
    return rows;
}

TEST_F(TableApp, DefaultFileGivesTheWindowsFigures)
{
    const TableRun got = run({"--settings", write(settings::defaultContent())});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.err, "");
    const std::string expectedStart =
        "Telescope 1420 mm, eyepiece 19 mm, camera lens 50 mm, aperture 220 mm\n"
        "Magnification 74.74X, system focal length 3736.84 mm, f ratio 16.99\n"
        "\n"
        "                    ISO 100\n"
        "Object           K  seconds       1/s  shutter\n"
        "CrescentMoon    20  0.14426    1/6.93  1/8 +0.2\n"
        "QuarterMoon     40  0.07213   1/13.86  1/15 +0.1\n"
        "FullMoon       200  0.01443   1/69.32  1/60 -0.2\n";
    EXPECT_EQ(got.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(got.out.find("Venus         1310  0.00220  1/454.05  1/500 +0.1\n"),
              std::string::npos);
}

TEST_F(TableApp, MissingFileUsesTheDefaultsAndWritesNothing)
{
    const TableRun got = run({"--iso", "100"});
    EXPECT_EQ(got.status, 0);
    const std::string path = m_temp.file("Vellmore.ini");
    EXPECT_EQ(got.err,
              "vellmore-table: no settings file at " + path + "; using the default settings\n");
    EXPECT_EQ(got.out, run({"--settings", write(settings::defaultContent())}).out);
    std::filesystem::remove(path);
    run({});
    EXPECT_FALSE(testing::exists(path));
}

TEST_F(TableApp, OneColumnGroupPerIso)
{
    const TableRun got =
        run({"--settings", write(settings::defaultContent()), "--iso=100,400,1600"});
    EXPECT_EQ(got.status, 0);
    EXPECT_NE(got.out.find("ISO 100                        ISO 400                          "
                           "ISO 1600\n"),
              std::string::npos)
        << got.out;
    EXPECT_NE(got.out.find("CrescentMoon    20  0.14426    1/6.93  1/8 +0.2    0.03606    "
                           "1/27.73  1/30 +0.1    0.00902   1/110.91  1/125 +0.2\n"),
              std::string::npos)
        << got.out;
}

TEST_F(TableApp, AFaultingObjectKeepsItsRowAndSaysWhy)
{
    const TableRun got =
        run({"--settings", write("FilmISO=200\r\n[Exposures]\r\nDark=0\r\nMoon=20\r\n")});
    EXPECT_EQ(got.status, 0);
    EXPECT_NE(
        got.out.find(
            "Dark     0        -        -  -          Cannot work out the exposure: K is 0.\n"),
        std::string::npos)
        << got.out;
    EXPECT_NE(got.out.find("Moon    20  0.07213  1/13.86  1/15 +0.1\n"), std::string::npos)
        << got.out;
}

TEST_F(TableApp, CsvReadsBackAsTheFigures)
{
    const std::string file = "[Exposures]\r\n\"Hale, Bopp=5\"\r\nMoon=20\r\nComet \"X\"=0\r\n";
    const TableRun got = run({"--csv", "--settings", write(file), "--iso", "100,400"});
    ASSERT_EQ(got.status, 0);
    const auto rows = parseCsv(got.out);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"object", "k", "iso", "exposure_s", "reciprocal",
                                                 "shutter", "offset_stops"}));
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), 7u);
    EXPECT_EQ(rows[1][0], "Hale, Bopp");
    EXPECT_EQ(rows[5][0], "Comet \"X\"");
    EXPECT_EQ(rows[3][0], "Moon");
    EXPECT_EQ(std::stod(rows[3][3]), 0.14425608388086358);
    EXPECT_EQ(rows[3][5], "1/8");
    EXPECT_NEAR(std::stod(rows[3][6]), 0.2067, 1e-4);
    EXPECT_EQ(rows[4][2], "400");
    EXPECT_EQ(rows[5][3], "Cannot work out the exposure: K is 0.");
    EXPECT_EQ(rows[5][4], "");
}

TEST_F(TableApp, ExitStatusTellsWhatWentWrong)
{
    std::filesystem::create_directory(m_temp.file("folder"));
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string firstErrLine;
    } cases[] = {
        {{"--bogus"}, 2, "vellmore-table: unknown argument \"--bogus\""},
        {{"--iso", "100,-5"},
         2,
         "vellmore-table: --iso takes positive numbers separated by "
         "commas, not \"-5\""},
        {{"--iso", "100,,400"},
         2,
         "vellmore-table: --iso takes positive numbers separated by "
         "commas, not \"\""},
        {{"--iso", "1e400"},
         2,
         "vellmore-table: --iso takes positive numbers separated by "
         "commas, not \"1e400\""},
        {{"--settings"}, 2, "vellmore-table: --settings needs a value"},
        {{"--csv=yes"}, 2, "vellmore-table: --csv takes no value"},
        {{"stray"}, 2, "vellmore-table: unknown argument \"stray\""},
        {{"--settings", m_temp.file("folder")},
         1,
         "vellmore-table: The settings file " + m_temp.file("folder") +
             " is a folder, not a plain text file. Nothing was loaded or changed."},
        {{"--settings", write("EyepieceFL=0\r\n", "eyepiece.ini")},
         1,
         "vellmore-table: Cannot work out the magnification: the eyepiece focal length is 0."},
        {{"--settings", write("TelescopeAperture=\r\n", "aperture.ini")},
         1,
         "vellmore-table: Cannot work out the f ratio: the telescope aperture is 0."},
        {{"--settings", write("TelescopeFL=1e999\r\n", "huge.ini")},
         1,
         "vellmore-table: Cannot read the inputs: the telescope focal length is too large a "
         "number."},
    };
    for (const auto& c : cases) {
        const TableRun got = run(c.args);
        EXPECT_EQ(got.status, c.status) << c.args[0];
        EXPECT_EQ(got.err.substr(0, got.err.find('\n')), c.firstErrLine);
        EXPECT_EQ(got.out, "") << c.args[0];
        if (c.status == 2) {
            EXPECT_NE(got.err.find("usage: vellmore-table"), std::string::npos);
        }
    }
}

TEST_F(TableApp, HelpAndVersion)
{
    EXPECT_EQ(run({"--version"}).out, "vellmore-table 1.00\n");
    const TableRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vellmore-table [--settings FILE]", 0), 0u);
}

} // namespace
} // namespace vellmore::table
