#include "settings/loader.h"
#include "settings/objecttable.h"
#include "settings/settingsfile.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vellmore::settings {
namespace {

using calc::Input;
using Sets = std::vector<std::pair<Input, std::string>>;
using Entries = std::vector<std::string>; // the selector's texts

struct LoadCase
{
    const char* name;
    std::string file;
    Sets assignments;
    Entries entries;
    std::optional<LoadError> error = std::nullopt;
};

Sets setsOf(const LoadResult& r)
{
    Sets sets;
    for (const Assignment& a : r.assignments)
        sets.emplace_back(a.field, a.value);
    return sets;
}

Entries entriesOf(const LoadResult& r)
{
    Entries entries;
    for (const ObjectEntry& o : r.objects)
        entries.push_back(listEntryText(o));
    return entries;
}

class ParseSettings : public ::testing::TestWithParam<LoadCase>
{};

TEST_P(ParseSettings, ReadsSettingsAndObjectsInFileOrder)
{
    const LoadCase& c = GetParam();
    const LoadResult got = parseSettings(c.file);
    EXPECT_EQ(setsOf(got), c.assignments);
    EXPECT_EQ(entriesOf(got), c.entries);
    EXPECT_EQ(got.error, c.error);
}

const Sets defaultSets = {
    {Input::TelescopeFL, "1420"},      {Input::EyepieceFL, "19"}, {Input::CameraFL, "50"},
    {Input::TelescopeAperture, "220"}, {Input::K, "40"},          {Input::FilmISO, "100"}};
const Entries defaultEntries = {"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)",
                                "Saturn= (13.6)",     "Jupiter= (32.5)",   "Mars= (32.5)",
                                "Venus= (1310)"};

INSTANTIATE_TEST_SUITE_P(
    Files, ParseSettings,
    ::testing::Values(
        LoadCase{"Default", defaultContent(), defaultSets, defaultEntries},
        LoadCase{"Empty", "", {}, {}},
        LoadCase{"NoHeader", "K=40\r\nVenus=1310\r\n", {{Input::K, "40"}}, {}},
        LoadCase{"KeysInAnyOrderLaterWins",
                 "FilmISO=400\r\nK=40\r\nK=200\r\nColour=red\r\n",
                 {{Input::FilmISO, "400"}, {Input::K, "40"}, {Input::K, "200"}},
                 {}},
        LoadCase{"KeysAreCaseSensitive", "k=40\r\nK =40\r\n", {}, {}},
        LoadCase{"ValueKeptAsRead",
                 "K= 40 mm\r\nK==5\r\n",
                 {{Input::K, " 40 mm"}, {Input::K, "=5"}},
                 {}},
        LoadCase{"EmptyValue", "K=\r\n", {{Input::K, ""}}, {}},
        LoadCase{"TwoSettingsOnALine",
                 "K=40, FilmISO=100\r\n",
                 {{Input::K, "40"}, {Input::FilmISO, "100"}},
                 {}},
        LoadCase{"WordsAfterAComma", "K=40, good for the Moon\r\n", {{Input::K, "40"}}, {}},
        LoadCase{"HeaderCaseMatters", "[exposures]\r\nMoon=20\r\n", {}, {}},
        LoadCase{
            "ObjectNamesWithBlanks", "[Exposures]\r\nFull Moon=200\r\n", {}, {"Full Moon= (200)"}},
        LoadCase{
            "QuotedNameWithComma", "[Exposures]\r\n\"Hale, Bopp=5\"\r\n", {}, {"Hale, Bopp= (5)"}},
        LoadCase{"HalfHasNoLeadingZero", "[Exposures]\r\nDim=.5\r\n", {}, {"Dim= (.5)"}},
        LoadCase{"NotANumberIsZero", "[Exposures]\r\nMystery=bright\r\n", {}, {"Mystery= (0)"}},
        LoadCase{"DecimalComma", "[Exposures]\r\nSaturn=13,6\r\n", {}, {"Saturn= (13)"}},
        LoadCase{"SettingBelowHeaderIsAnObject", "[Exposures]\r\nK=40\r\n", {}, {"K= (40)"}},
        LoadCase{"CommentWithEquals",
                 "[Exposures]\r\n; K values = guesses\r\n",
                 {},
                 {"; K values = (0)"}},
        LoadCase{"SecondHeaderSkipped",
                 "[Exposures]\r\nA=1\r\n[Exposures]\r\nB=2\r\n",
                 {},
                 {"A= (1)", "B= (2)"}},
        LoadCase{"EndsWithHeader", "K=40\r\n[Exposures]", {{Input::K, "40"}}, {}},
        LoadCase{"EndsWithHeaderAndLineEnd", "K=40\r\n[Exposures]\r\n", {{Input::K, "40"}}, {}},
        LoadCase{"EndsWithTwoHeaders", "[Exposures]\r\n[Exposures]\r\n", {}, {}},
        LoadCase{"CrOnlyAndNoFinalLineEnd",
                 "K=20\r[Exposures]\rMoon=20",
                 {{Input::K, "20"}},
                 {"Moon= (20)"}},
        LoadCase{"Utf16Refused",
                 std::string("\xFF\xFEK\0=\0"
                             "4\0",
                             8),
                 {},
                 {},
                 LoadError::Utf16},
        LoadCase{"Utf16BigEndianRefused", std::string("\xFE\xFF\0K", 4), {}, {}, LoadError::Utf16},
        LoadCase{"Utf8BomSkipped", "\xEF\xBB\xBFK=40\r\n", {{Input::K, "40"}}, {}},
        LoadCase{"ObjectOverflowStops",
                 "[Exposures]\r\nA=1\r\nB=1e400\r\nC=3\r\n",
                 {},
                 {"A= (1)"},
                 LoadError::ObjectOverflow}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

std::string objectsFile(int count)
{
    std::string file = "K=40\r\n[Exposures]\r\n";
    for (int i = 0; i < count; ++i)
        file += "Object" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return file;
}

TEST(ParseSettingsLimits, KeepsTheFirstThousandObjects)
{
    const LoadResult full = parseSettings(objectsFile(1000));
    EXPECT_EQ(full.objects.size(), 1000u);
    EXPECT_FALSE(full.error);

    const LoadResult over = parseSettings(objectsFile(100000));
    ASSERT_EQ(over.objects.size(), 1000u);
    EXPECT_EQ(over.objects.back().name, "Object999=");
    EXPECT_EQ(over.error, LoadError::TooManyObjects);
    EXPECT_EQ(over.assignments.size(), 1u);
}

TEST(ObjectTable, OverwritesFromTheStartAndKeepsStaleEntries)
{
    ObjectTable table;
    table.load(parseSettings(defaultContent()).objects);
    EXPECT_EQ(table.count, 7);
    table.load(parseSettings("[Exposures]\r\nMars=32.5\r\n").objects);
    EXPECT_EQ(table.count, 1);
    EXPECT_EQ(table.ObjectNames[0], "Mars=");
    EXPECT_EQ(table.ObjectK[0], 32.5);
    EXPECT_EQ(table.ObjectNames[1], "QuarterMoon=") << "a load overwrites, never empties";
    EXPECT_TRUE(table.holds(0));
    EXPECT_FALSE(table.holds(1));
    EXPECT_FALSE(table.holds(-1));
}

TEST(SettingsFile, DefaultIsFifteenCrLfLines)
{
    const std::string content = defaultContent();
    EXPECT_EQ(content.substr(0, 18), "TelescopeFL=1420\r\n");
    EXPECT_NE(content.find("FilmISO=100\r\n\r\n[Exposures]\r\n"), std::string::npos);
    EXPECT_EQ(content.substr(content.size() - 12), "Venus=1310\r\n");
    size_t lines = 0;
    for (size_t at = content.find("\r\n"); at != std::string::npos;
         at = content.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 15u);
    EXPECT_EQ(content.find('\n', 0), content.find("\r\n") + 1) << "no bare LF";
}

#ifndef _WIN32
TEST(SettingsFile, PathIsBesideTheProgram)
{
    EXPECT_EQ(settingsPath("/opt/My Vellmore"), "/opt/My Vellmore/Vellmore.ini");
    EXPECT_EQ(settingsPath("/"), "/Vellmore.ini");
}
#endif

} // namespace
} // namespace vellmore::settings

namespace vellmore::settings {
namespace {

TEST(ParseSettingsHostile, LargeFilesLoadInOnePass)
{
    // One 10 MB line: a single setting whose value is kept whole.
    const std::string longValue(10 * 1024 * 1024, '7');
    const LoadResult line = parseSettings("K=" + longValue);
    ASSERT_EQ(line.assignments.size(), 1u);
    EXPECT_EQ(line.assignments[0].value.size(), longValue.size());

    // 50 MB of free text without "=": nothing is set, nothing is listed.
    std::string prose;
    const std::string sentence = "The Moon rose over the ridge, and the seeing was good.\r\n";
    while (prose.size() < 50u * 1024 * 1024)
        prose += sentence;
    const LoadResult text = parseSettings(prose + "[Exposures]\r\n" + prose + "Moon=20");
    EXPECT_TRUE(text.assignments.empty());
    ASSERT_EQ(text.objects.size(), 1u);
    EXPECT_EQ(text.objects[0].name, "Moon=");
}

TEST(ParseSettingsHostile, EndingInsideAQuoteKeepsWhatWasRead)
{
    const LoadResult got = parseSettings("K=40\r\n[Exposures]\r\nA=1\r\n\"Half=2\r\nB=3");
    EXPECT_EQ(setsOf(got), (Sets{{Input::K, "40"}}));
    EXPECT_EQ(entriesOf(got), (Entries{"A= (1)", "Half= (2)"}));
}

} // namespace
} // namespace vellmore::settings
