#include "settings/loader.h"
#include "settings/settingsfile.h"
#include "settings/store.h"

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
    Sets sets;
    Entries entries;
    std::optional<LoadError> error = std::nullopt;
};

class ParseSettings : public ::testing::TestWithParam<LoadCase>
{};

TEST_P(ParseSettings, ReadsSettingsAndObjectsInFileOrder)
{
    const LoadCase& c = GetParam();
    const LoadResult got = parseSettings(c.file);
    Sets sets;
    for (const Assignment& a : got.assignments)
        sets.emplace_back(a.field, a.value);
    Entries entries;
    for (const ObjectEntry& o : got.objects)
        entries.push_back(listEntryText(o));
    EXPECT_EQ(sets, c.sets);
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(got.error, c.error);
}

const Input K = Input::K;
const Input ISO = Input::FilmISO;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ParseSettings, ::testing::Values(
    LoadCase{"Default", defaultContent(),
             {{Input::TelescopeFL, "1420"}, {Input::EyepieceFL, "19"}, {Input::CameraFL, "50"}, {Input::TelescopeAperture, "220"}, {K, "40"}, {ISO, "100"}},
             {"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)", "Saturn= (13.6)", "Jupiter= (32.5)", "Mars= (32.5)", "Venus= (1310)"}},
    LoadCase{"Empty", "", {}, {}},
    LoadCase{"NoHeader", "K=40\r\nVenus=1310\r\n", {{K, "40"}}, {}},
    LoadCase{"AnyOrderLaterWins", "FilmISO=400\r\nK=40\r\nK=200\r\nColour=red\r\n", {{ISO, "400"}, {K, "40"}, {K, "200"}}, {}},
    LoadCase{"KeysAreCaseSensitive", "k=40\r\nK =40\r\n", {}, {}},
    LoadCase{"ValueKeptAsRead", "K= 40 mm\r\nK==5\r\nK=\r\n", {{K, " 40 mm"}, {K, "=5"}, {K, ""}}, {}},
    LoadCase{"HeaderCaseMatters", "[exposures]\r\nMoon=20\r\n", {}, {}},
    LoadCase{"ObjectNames", "[Exposures]\r\nFull Moon=200\r\n\"Hale, Bopp=5\"\r\nK=40\r\n; K values = guesses\r\n", {}, {"Full Moon= (200)", "Hale, Bopp= (5)", "K= (40)", "; K values = (0)"}},
    LoadCase{"ObjectValues", "[Exposures]\r\nDim=.5\r\nMystery=bright\r\nSaturn=13,6\r\n", {}, {"Dim= (.5)", "Mystery= (0)", "Saturn= (13)"}},
    LoadCase{"SecondHeaderSkipped", "[Exposures]\r\nA=1\r\n[Exposures]\r\nB=2\r\n", {}, {"A= (1)", "B= (2)"}},
    LoadCase{"EndsWithHeader", "K=40\r\n[Exposures]", {{K, "40"}}, {}},
    LoadCase{"EndsWithTwoHeaders", "[Exposures]\r\n[Exposures]\r\n", {}, {}},
    LoadCase{"Utf16Refused", std::string("\xFF\xFEK\0=\0" "4\0", 8), {}, {}, LoadError::Utf16},
    LoadCase{"Utf16BigEndianRefused", std::string("\xFE\xFF\0K", 4), {}, {}, LoadError::Utf16},
    LoadCase{"ObjectOverflowStops", "[Exposures]\r\nA=1\r\nB=1e400\r\nC=3\r\n", {}, {"A= (1)"}, LoadError::ObjectOverflow}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(ParseSettingsLimits, KeepsTheFirstThousandObjectsAndSaysSo)
{
    std::string file = "[Exposures]\r\n";
    for (int i = 1; i <= 1001; ++i)
        file += "Star" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    LoadOutcome outcome;
    outcome.read = true;
    outcome.content = parseSettings(file);
    ASSERT_EQ(outcome.content.objects.size(), 1000u);
    EXPECT_EQ(listEntryText(outcome.content.objects.back()), "Star1000= (1000)");
    EXPECT_EQ(describeOutcome(outcome, "Vellmore.ini"),
              "Vellmore.ini lists more than 1000 objects; only the first 1000 were loaded.");
}

TEST(SettingsFile, DefaultIsFifteenCrLfLines)
{
    EXPECT_EQ(defaultContent(), "TelescopeFL=1420\r\nEyepieceFL=19\r\nCameraFL=50\r\n"
                                "TelescopeAperture=220\r\nK=40\r\nFilmISO=100\r\n\r\n"
                                "[Exposures]\r\nCrescentMoon=20\r\nQuarterMoon=40\r\n"
                                "FullMoon=200\r\nSaturn=13.6\r\nJupiter=32.5\r\nMars=32.5\r\n"
                                "Venus=1310\r\n");
}

} // namespace
} // namespace vellmore::settings
