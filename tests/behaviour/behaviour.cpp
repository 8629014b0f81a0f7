#include "behaviour/behaviour.h"

#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace vellmore::behaviour {
namespace {

namespace fs = std::filesystem;
using C = form::Control;
using Texts = std::vector<std::string>;

// A scenario being played on a driver.
struct Play
{
    Driver& driver;
    std::string file; // the settings file's path, which "{file}" in a text stands for
    size_t seen = 0;  // messages expected so far
};

// One thing the user does, or one thing that must then hold; one meant for some fronts only
// says why.
struct Step
{
    std::function<void(Play&)> act;
    int fronts = AllFronts;
    const char* why = "";

    Step only(int on, const char* reason) const { return {act, on, reason}; }
};

// What stands at the settings file's place at the start, in a program folder of that name.
struct Scenario
{
    const char* name;
    enum class Start { NoFile, File, Folder } start;
    std::string file;
    std::vector<Step> steps;
    std::string folder = "program";
};

std::string readFile(const std::string& path)
{
    return fs::exists(fs::u8path(path)) ? testing::contentOf(path) : "(none)";
}

template <size_t N>
Texts textsOf(const Driver& driver, const std::array<C, N>& controls)
{
    Texts texts;
    for (const C c : controls)
        texts.push_back(driver.text(c));
    return texts;
}

void expectNextMessage(Play& r, std::string text)
{
    for (size_t at = text.find("{file}"); at != std::string::npos; at = text.find("{file}", at))
        text.replace(at, 6, r.file);
    ASSERT_LT(r.seen, r.driver.messages.size()) << "no message: " << text;
    EXPECT_EQ(r.driver.messages[r.seen++], text);
}

// The words the table is written in: what the user does, and what must then hold.
// clang-format off
Step type(C c, std::string t) { return {[=](Play& r) { r.driver.type(c, t); }}; }
Step click(C c) { return {[=](Play& r) { r.driver.click(c); }}; }
Step mouse(Mouse m) { return {[=](Play& r) { r.driver.mouse(m); }}; }
Step readerActivatesLink() { return {[](Play& r) { r.driver.readerActivatesLink(); }}; }
Step pick(int i) { return {[=](Play& r) { r.driver.pick(i); }}; }
Step press(C c, Key k) { return {[=](Play& r) { r.driver.key(c, k); }}; }
Step browseList() { return {[](Play& r) { r.driver.browseList(); }}; }
Step writeFile(std::string b) { return {[=](Play& r) { testing::writeFile(r.file, b); }}; }
Step removeFile() { return {[](Play& r) { fs::remove(fs::u8path(r.file)); }}; }
// The editor cannot start and the page's handler fails (ShellExecute's "file not found").
Step failLaunches() { return {[](Play& r) { r.driver.launcher->starts = false, r.driver.launcher->result = 2; }}; }

Step expect(C c, std::string t) { return {[=](Play& r) { EXPECT_EQ(r.driver.text(c), t) << form::definition(c).name; }}; }
Step expectInputs(Texts t) { return {[=](Play& r) { EXPECT_EQ(textsOf(r.driver, form::inputFields), t); }}; }
Step expectDesignTexts() { return {[](Play& r) { for (const auto& def : form::controls()) EXPECT_EQ(r.driver.text(def.id), def.text) << def.name; }}; }
Step expectResults(Texts t) { return {[=](Play& r) { EXPECT_EQ(textsOf(r.driver, form::resultLabels), t); }}; }
Step expectEntries(Texts e) { return {[=](Play& r) { EXPECT_EQ(r.driver.entries(), e); }}; }
Step expectSelected(int i) { return {[=](Play& r) { EXPECT_EQ(r.driver.selectedIndex(), i); }}; }
Step expectFocus(C c) { return {[=](Play& r) { EXPECT_EQ(r.driver.focus(), c) << form::definition(c).name; }}; }
Step expectFile(std::string b) { return {[=](Play& r) { EXPECT_EQ(readFile(r.file), b); }}; }
// The editor started on the settings file, and the page opened, so many times in all.
Step expectEditor(size_t n) { return {[=](Play& r) { EXPECT_EQ(r.driver.launcher->editors, Texts(n, r.file)); }}; }
Step expectOpened(size_t n) { return {[=](Play& r) { EXPECT_EQ(r.driver.launcher->documents, Texts(n, form::referenceAddress)); }}; }
// The next message shown, where "{file}" stands for the settings file's path.
Step expectMessage(std::string t) { return {[=](Play& r) { expectNextMessage(r, t); }}; }
// clang-format on

// Tab from the first control round the tab order and back to it.
std::vector<Step> tabWalk()
{
    std::vector<Step> steps;
    for (const C c : form::tabOrder())
        steps.insert(steps.end(), {expectFocus(c), press(c, Key::Tab)});
    steps.push_back(expectFocus(C::txtTelescopeFL)
                        .only(Qt | Win32, "a window's Tab goes round its own controls"));
    steps.push_back(expectFocus(C::Label14)
                        .only(Web, "in a page the link is a tab stop, and Tab then goes on to the "
                                   "page's other parts"));
    return steps;
}

std::vector<Step> operator+(std::vector<Step> first, const std::vector<Step>& then)
{
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

using S = Scenario::Start;
const Texts defaultInputs = {"1420", "19", "50", "220", "40", "100"};
const Texts defaultResults = {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"};
const Texts noResults = {"0", "0", "0", "0", "0"};
const Texts defaultEntries = {"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)",
                              "Saturn= (13.6)",     "Jupiter= (32.5)",   "Mars= (32.5)",
                              "Venus= (1310)"};
const std::string defaults = settings::defaultContent();
const std::string unchanged = " Nothing was loaded or changed.";

// clang-format off
const std::vector<Scenario> table = {
    {"FirstStartWritesTheDefaultFileAndLoadsIt", S::NoFile, "", {
        expectFile(defaults), expectInputs(defaultInputs), expectEntries(defaultEntries), expectSelected(-1),
        expect(C::Combo1, ""), expectResults(defaultResults), expectFocus(C::txtTelescopeFL)}},
    {"PickingAnObjectCopiesItsKWithoutCalculating", S::File, std::string(defaults).replace(defaults.find("K=40"), 4, "K=200"), {
        expect(C::txtK, "200"), expect(C::lblExposure, "0.01443 Sec"), pick(3), expect(C::txtK, "13.6"),
        expect(C::lblExposure, "0.01443 Sec"), click(C::Command1), expectResults({"74.74X", "3736.84", "16.99", "0.21214 Sec", "4.71 Sec"}),
        type(C::txtK, "7"), pick(0), expect(C::txtK, "20"), expect(C::lblExposure, "0.21214 Sec"),
        press(C::Combo1, Key::Down), expect(C::txtK, "40"), expectSelected(1)}},
    {"TypingAnEntrysExactTextPicksIt", S::File, defaults, {
        type(C::Combo1, "FullMoon= (200)"), expect(C::txtK, "200"), expectSelected(2), type(C::txtK, "7"),
        type(C::Combo1, "FullMoon= (200"), type(C::Combo1, "fullmoon= (200)"), type(C::Combo1, " FullMoon= (200)"),
        type(C::Combo1, ""), expect(C::txtK, "7"), type(C::Combo1, "Venus= (1310)"), expect(C::txtK, "1310"),
        expectSelected(6), type(C::Combo1, "Cres"), press(C::Combo1, Key::Return), expect(C::Combo1, "Cres"),
        expectEntries(defaultEntries), expect(C::txtK, "1310"), expectResults(defaultResults)}},
    {"EnterAndEscDoNothingInAFieldAndTabWalksTheTabOrder", S::File, defaults, tabWalk() + std::vector<Step>{
        type(C::txtK, "200"), press(C::txtK, Key::Return), press(C::txtK, Key::Escape), expect(C::lblExposure, "0.07213 Sec"),
        click(C::Command1), expect(C::lblExposure, "0.01443 Sec"), type(C::txtK, "40"), press(C::txtK, Key::Tab),
        press(C::txtISO, Key::Tab), expectFocus(C::Command1), press(C::Command1, Key::Return),
        expect(C::lblExposure, "0.07213 Sec")}},
    {"CalculateStopsAtTheFirstFaultAndNamesTheInput", S::File, defaults, {
        type(C::txtEyepieceFL, "0"), click(C::Command1), expectResults(defaultResults),
        expectMessage("Cannot work out the magnification: the eyepiece focal length is 0."),
        type(C::txtEyepieceFL, "19"), type(C::txtTelescopeFL, "0 mm"), click(C::Command1),
        expectResults({"0.00X", "0.00", "0.00", "0.00000 Sec", "13.86 Sec"}),
        expectMessage("Cannot work out 1 / exposure: the exposure is 0 seconds because the telescope focal length is 0."),
        type(C::txtTelescopeFL, "1420"), type(C::txtK, "1e400"), click(C::Command1),
        expectMessage("Cannot read the inputs: K is too large a number."), type(C::txtK, "40"), click(C::Command1),
        expectResults(defaultResults)}},
    {"ReloadReadsTheFileAgainWithoutCalculating", S::NoFile, "", {
        pick(2), writeFile("FilmISO=400\r\n[Exposures]\r\nDim Comet=.5\r\n"), click(C::Command2), expect(C::txtISO, "400"),
        expect(C::txtK, "200"), expectResults(defaultResults), expectEntries({"Dim Comet= (.5)"}), expectSelected(-1),
        expect(C::Combo1, ""), pick(0), expect(C::txtK, "0.5"), expectFile("FilmISO=400\r\n[Exposures]\r\nDim Comet=.5\r\n"),
        removeFile(), click(C::Command2), expectFile(defaults), expect(C::txtISO, "400"), click(C::Command2),
        expect(C::txtISO, "100"), expectEntries(defaultEntries)}},
    {"AFolderInThePlaceOfTheFileIsReportedOnceShown", S::Folder, "", {
        expectMessage("The settings file {file} is a folder, not a plain text file." + unchanged), expectDesignTexts(), expectEntries({}),
        click(C::Command1), expectResults(defaultResults)}},
    {"AUtf16FileIsRefused", S::File, std::string("\xFF\xFEK\0=\0002\0", 8), {
        expectMessage("Vellmore.ini is saved as UTF-16; save it as plain text." + unchanged), expect(C::txtK, "40"),
        expect(C::Combo1, "Select Object"), expectResults(noResults)}},
    {"WhatWasReadBeforeALoadErrorStays", S::File, "K=30\r\n[Exposures]\r\nA=1\r\nBig Star=1e400\r\nC=3\r\n", {
        expectMessage("The K of Big Star= in Vellmore.ini is too large a number; the objects from there on were not loaded."),
        expect(C::txtK, "30"), expectEntries({"A= (1)"}), expectResults(noResults), pick(0), expect(C::txtK, "1")}},
    {"TheLinkOpensThePageOncePerClick", S::File, defaults, {
        mouse(Mouse::Click), expectOpened(1), mouse(Mouse::DoubleClick), expectOpened(2), mouse(Mouse::DragOff),
        mouse(Mouse::RightClick), mouse(Mouse::RightDuringClick), expectOpened(2), failLaunches(), mouse(Mouse::Click),
        expectOpened(3), readerActivatesLink(), expectOpened(4), expectInputs(defaultInputs),
        expectResults(defaultResults), expectFocus(C::txtTelescopeFL)}},
    {"NamesSavedAsUtf8ShowInTheirOwnLetters", S::File, "[Exposures]\r\nV\xC3\xA9nus=1310\r\n\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0=5\r\n", {
        expectEntries({"V\xC3\xA9nus= (1310)", "\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0= (5)"}), pick(1), expect(C::txtK, "5"),
        type(C::Combo1, "V\xC3\xA9nus= (1310)"), expect(C::txtK, "1310")}},
    {"AFolderNamedInAnotherScriptKeepsTheSettingsAndEditSettingsOpensThem", S::NoFile, "", {
        expectFile(defaults), expectResults(defaultResults), removeFile(), click(C::Command3), expectEditor(1),
        expectFile("(none)"), failLaunches(), click(C::Command3), expectEditor(2),
        expectMessage("Could not start a text editor for the settings file {file}. Open it with any text editor, then "
                      "click \"ReLoad Settings\".")},
     "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80/\xC3\x84str\xC3\xB6"},
    {"BrowsingTheOpenListFollowsEachToolkit", S::File, defaults, {
        browseList(),
        expect(C::txtK, "20").only(Win32, "Windows moves the selection, and the text part with it, as the list is browsed; K follows what the selector shows"),
        expect(C::txtK, "40").only(Qt | Web, "Qt and the browser's list only highlight what is browsed; the selector and K change when an entry is picked")}},
};
// clang-format on

class Behaviour : public ::testing::TestWithParam<Scenario>
{};

TEST_P(Behaviour, Holds)
{
    const Scenario& scenario = GetParam();
    testing::TestDir temp;
    const fs::path folder = fs::u8path(temp.path()) / fs::u8path(scenario.folder);
    fs::create_directories(folder);
    const std::unique_ptr<Driver> driver = makeDriver();
    Play run{*driver, settings::settingsPath(folder.u8string())};
    if (scenario.start == S::File)
        testing::writeFile(run.file, scenario.file);
    else if (scenario.start == S::Folder)
        fs::create_directory(fs::u8path(run.file));

    driver->open(folder.u8string());
    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        if (!(step.fronts & driver->front()))
            continue;
        SCOPED_TRACE("step " + std::to_string(i + 1) +
                     (*step.why ? std::string(": ") + step.why : ""));
        step.act(run);
    }
    const Texts unexpected(driver->messages.begin() + static_cast<long>(run.seen),
                           driver->messages.end());
    EXPECT_EQ(unexpected, Texts{}) << "messages no step expected";
}

INSTANTIATE_TEST_SUITE_P(Table, Behaviour, ::testing::ValuesIn(table),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace vellmore::behaviour
