#include "behaviour/behaviour.h"

#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellmore::behaviour {

using form::Control;

namespace {

Step make(Step::Do action, Control control = Control::Combo1, std::vector<std::string> texts = {},
          int number = 0)
{
    return Step{action, control, std::move(texts), number, AllFronts, ""};
}

} // namespace

Step writeFile(const std::string& bytes)
{
    return make(Step::Do::WriteFile, Control::Combo1, {bytes});
}
Step removeFile()
{
    return make(Step::Do::RemoveFile);
}
Step type(Control control, const std::string& text)
{
    return make(Step::Do::Type, control, {text});
}
Step click(Control control)
{
    return make(Step::Do::Click, control);
}
Step mouse(Control control, Mouse action)
{
    return make(Step::Do::Mouse, control, {}, static_cast<int>(action));
}
Step pick(int index)
{
    return make(Step::Do::Pick, Control::Combo1, {}, index);
}
Step press(Control control, Key key)
{
    return make(Step::Do::Key, control, {}, static_cast<int>(key));
}
Step browseList()
{
    return make(Step::Do::BrowseList);
}
Step failLaunches()
{
    return make(Step::Do::FailLaunches);
}
Step expect(Control control, const std::string& text)
{
    return make(Step::Do::Expect, control, {text});
}
Step expectEntries(const std::vector<std::string>& entries)
{
    return make(Step::Do::ExpectEntries, Control::Combo1, entries);
}
Step expectSelected(int index)
{
    return make(Step::Do::ExpectSelected, Control::Combo1, {}, index);
}
Step expectFocus(Control control)
{
    return make(Step::Do::ExpectFocus, control);
}
Step expectMessage(const std::string& text)
{
    return make(Step::Do::ExpectMessage, Control::Combo1, {text});
}
Step expectFile(const std::string& bytes)
{
    return make(Step::Do::ExpectFile, Control::Combo1, {bytes});
}
Step expectEditor(int times)
{
    return make(Step::Do::ExpectEditor, Control::Combo1, {}, times);
}
Step expectOpened(int times)
{
    return make(Step::Do::ExpectOpened, Control::Combo1, {}, times);
}
// Several controls at once read as one step each, so a failure names the control.
Step expectInputs(const std::vector<std::string>& texts)
{
    return make(Step::Do::Expect, Control::txtTelescopeFL, texts);
}
Step expectResults(const std::vector<std::string>& texts)
{
    return make(Step::Do::Expect, Control::lblTelescopeMag, texts);
}

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> defaultInputs = {"1420", "19", "50", "220", "40", "100"};
const std::vector<std::string> defaultResults = {"74.74X", "3736.84", "16.99", "0.07213 Sec",
                                                 "13.86 Sec"};
const std::vector<std::string> defaultEntries = {
    "CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)", "Saturn= (13.6)",
    "Jupiter= (32.5)",    "Mars= (32.5)",      "Venus= (1310)"};
const std::string nothingChanged = " Nothing was loaded or changed.";
const char* const keysAreTheToolkits = "the recording view has no keyboard focus";

// Tab from the first control round the tab order and back to it.
std::vector<Step> tabWalk()
{
    const std::vector<Control> order = form::tabOrder();
    std::vector<Step> steps;
    for (size_t i = 0; i < order.size(); ++i) {
        steps.push_back(expectFocus(order[i]).only(Windows, keysAreTheToolkits));
        steps.push_back(press(order[i], Key::Tab).only(Windows, keysAreTheToolkits));
    }
    steps.push_back(expectFocus(order[0]).only(Windows, keysAreTheToolkits));
    return steps;
}

std::vector<Step> operator+(std::vector<Step> first, const std::vector<Step>& then)
{
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

std::string defaultsWith(const std::string& line, const std::string& instead)
{
    std::string file = settings::defaultContent();
    return file.replace(file.find(line), line.size(), instead);
}

std::string thousandAndOneObjects()
{
    std::string file = "[Exposures]\r\n";
    for (int i = 1; i <= 1001; ++i)
        file += "Star" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    return file;
}

std::vector<std::string> thousandEntries()
{
    std::vector<std::string> entries;
    for (int i = 1; i <= 1000; ++i)
        entries.push_back("Star" + std::to_string(i) + "= (" + std::to_string(i) + ")");
    return entries;
}

// The controls a multi-text Expect step reads, from its first control on.
std::vector<Control> controlsFrom(Control first, size_t count)
{
    if (count == 1)
        return {first};
    if (first == Control::lblTelescopeMag)
        return {form::resultLabels.begin(), form::resultLabels.end()};
    return {form::inputFields.begin(), form::inputFields.end()};
}

std::string withFile(std::string text, const std::string& file)
{
    const std::string mark = "{file}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
        text.replace(at, mark.size(), file);
    return text;
}

std::string readAll(const std::string& path)
{
    return fs::exists(fs::u8path(path)) ? testing::contentOf(path) : "(no file)";
}

} // namespace

// clang-format off
const std::vector<Scenario>& scenarios()
{
    using S = Scenario::Start;
    using C = Control;
    static const std::vector<Scenario> table = {
        {"FirstStartWritesTheDefaultFileAndLoadsIt", S::NoFile, "", {
            expectFile(settings::defaultContent()), expectInputs(defaultInputs), expectEntries(defaultEntries),
            expectSelected(-1), expect(C::Combo1, ""), expectResults(defaultResults),
            expectFocus(C::txtTelescopeFL).only(Windows, keysAreTheToolkits)}},
        {"PickingAnObjectCopiesItsKWithoutCalculating", S::File, defaultsWith("K=40", "K=200"), {
            expect(C::txtK, "200"), expect(C::lblExposure, "0.01443 Sec"),
            pick(3), expect(C::txtK, "13.6"), expect(C::lblExposure, "0.01443 Sec"),
            click(C::Command1), expectResults({"74.74X", "3736.84", "16.99", "0.21214 Sec", "4.71 Sec"}),
            type(C::txtK, "7"), pick(0), expect(C::txtK, "20"), expect(C::lblExposure, "0.21214 Sec"),
            press(C::Combo1, Key::Down), expect(C::txtK, "40"), expectSelected(1),
            pick(-1).only(Recording, "no window lets a user pick no entry"),
            expectMessage("No object is selected.").only(Recording, "as above"),
            expect(C::txtK, "40")}},
        {"TypingAnEntrysExactTextPicksIt", S::File, settings::defaultContent(), {
            type(C::Combo1, "FullMoon= (200)"), expect(C::txtK, "200"), expectSelected(2),
            type(C::txtK, "7"), type(C::Combo1, "FullMoon= (200"), type(C::Combo1, "fullmoon= (200)"),
            type(C::Combo1, " FullMoon= (200)"), type(C::Combo1, ""), expect(C::txtK, "7"),
            type(C::Combo1, "Venus= (1310)"), expect(C::txtK, "1310"), expectSelected(6),
            type(C::Combo1, "Cres"), press(C::Combo1, Key::Return), expect(C::Combo1, "Cres"),
            expectEntries(defaultEntries), expect(C::txtK, "1310"), expectResults(defaultResults)}},
        {"EnterAndEscDoNothingAndTabWalksTheTabOrder", S::File, settings::defaultContent(), tabWalk() + std::vector<Step>{
            type(C::txtK, "200"), press(C::txtK, Key::Return), press(C::txtK, Key::Escape),
            expect(C::lblExposure, "0.07213 Sec"), click(C::Command1), expect(C::lblExposure, "0.01443 Sec"),
            type(C::txtK, "40"), press(C::txtK, Key::Tab), press(C::txtISO, Key::Tab),
            expectFocus(C::Command1).only(Windows, keysAreTheToolkits), press(C::Command1, Key::Return),
            expect(C::lblExposure, "0.07213 Sec").only(Windows, "Enter presses the button that has the focus")}},
        {"CalculateStopsAtTheFirstFaultAndNamesTheInput", S::File, settings::defaultContent(), {
            type(C::txtEyepieceFL, "0"), click(C::Command1), expectResults(defaultResults),
            expectMessage("Cannot work out the magnification: the eyepiece focal length is 0."),
            type(C::txtEyepieceFL, "19"), type(C::txtTelescopeFL, "0 mm"), click(C::Command1),
            expectResults({"0.00X", "0.00", "0.00", "0.00000 Sec", "13.86 Sec"}),
            expectMessage("Cannot work out 1 / exposure: the exposure is 0 seconds because the telescope focal length is 0."),
            type(C::txtTelescopeFL, "1420"), type(C::txtTelescopeAp, ""), click(C::Command1),
            expectMessage("Cannot work out the f ratio: the telescope aperture is 0."),
            type(C::txtTelescopeAp, "220"), type(C::txtK, "1e400"), click(C::Command1),
            expectMessage("Cannot read the inputs: K is too large a number."),
            type(C::txtK, "40"), click(C::Command1), expectResults(defaultResults)}},
        {"ReloadReadsTheFileAgainWithoutCalculating", S::NoFile, "", {
            pick(2), expect(C::txtK, "200"),
            writeFile("FilmISO=400\r\n[Exposures]\r\nDim Comet=.5\r\n"), click(C::Command2),
            expect(C::txtISO, "400"), expect(C::txtK, "200"), expectResults(defaultResults),
            expectEntries({"Dim Comet= (.5)"}), expectSelected(-1), expect(C::Combo1, ""),
            pick(0), expect(C::txtK, "0.5"), expectFile("FilmISO=400\r\n[Exposures]\r\nDim Comet=.5\r\n"),
            removeFile(), click(C::Command2), expectFile(settings::defaultContent()), expect(C::txtISO, "400"),
            click(C::Command2), expect(C::txtISO, "100"), expectEntries(defaultEntries)}},
        {"AFolderInThePlaceOfTheFileIsReportedOnceShown", S::Folder, "", {
            expectMessage("The settings file {file} is a folder, not a plain text file." + nothingChanged),
            expectInputs(defaultInputs), expectEntries({}), expect(C::Combo1, "Select Object"),
            expectResults({"0", "0", "0", "0", "0"}), click(C::Command1), expectResults(defaultResults)}},
        {"AUtf16FileIsRefused", S::File, std::string("\xFF\xFEK\0=\0002\0", 8), {
            expectMessage("Vellmore.ini is saved as UTF-16; save it as plain text." + nothingChanged),
            expect(C::txtK, "40"), expectResults({"0", "0", "0", "0", "0"})}},
        {"AnObjectBeyondTheNumberRangeEndsTheLoad", S::File, "K=30\r\n[Exposures]\r\nA=1\r\nBig Star=1e400\r\nC=3\r\n", {
            expectMessage("The K of Big Star= in Vellmore.ini is too large a number; the objects from there on were not loaded."),
            expect(C::txtK, "30"), expectEntries({"A= (1)"}), expectResults({"0", "0", "0", "0", "0"})}},
        {"OnlyTheFirstThousandObjectsAreLoaded", S::File, thousandAndOneObjects(), {
            expectMessage("Vellmore.ini lists more than 1000 objects; only the first 1000 were loaded."),
            expectEntries(thousandEntries()), pick(999), expect(C::txtK, "1000"),
            click(C::Command1), expect(C::lblTelescopeMag, "74.74X")}},
        {"EditSettingsHandsTheFileToTheEditor", S::NoFile, "", {
            removeFile(), click(C::Command3), expectEditor(1), expectFile("(no file)"), failLaunches(),
            click(C::Command3), expectEditor(2),
            expectMessage("Could not start a text editor for the settings file {file}. Open it with any text editor, then click \"ReLoad Settings\".")}},
        {"TheLinkOpensThePageOncePerClick", S::File, settings::defaultContent(), {
            mouse(C::Label14, Mouse::Click), expectOpened(1), mouse(C::Label14, Mouse::DoubleClick), expectOpened(2),
            mouse(C::Label14, Mouse::DragOff), mouse(C::Label14, Mouse::RightClick),
            mouse(C::Label14, Mouse::RightDuringClick), expectOpened(2),
            failLaunches(), mouse(C::Label14, Mouse::Click), expectOpened(3),
            expectInputs(defaultInputs), expectResults(defaultResults),
            expectFocus(C::txtTelescopeFL).only(Windows, keysAreTheToolkits)}},
        {"NamesSavedAsUtf8ShowInTheirOwnLetters", S::File, "[Exposures]\r\nV\xC3\xA9nus=1310\r\n\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0=5\r\n", {
            expectEntries({"V\xC3\xA9nus= (1310)", "\xD0\x9B\xD1\x83\xD0\xBD\xD0\xB0= (5)"}), pick(1), expect(C::txtK, "5"),
            type(C::Combo1, "V\xC3\xA9nus= (1310)"), expect(C::txtK, "1310")}},
        {"NamesSavedAsWindows1252ShowInTheirOwnLetters", S::File, "[Exposures]\r\nV\xE9nus=1310\r\nMondsichel f\xFCrs Foto=20\r\n", {
            expectEntries({"V\xC3\xA9nus= (1310)", "Mondsichel f\xC3\xBCrs Foto= (20)"})}},
        {"AProgramFolderNamedInAnotherScriptKeepsItsSettings", S::NoFile, "", {
            expectFile(settings::defaultContent()), expectResults(defaultResults), click(C::Command3), expectEditor(1)},
         "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80/\xC3\x84str\xC3\xB6"},
        {"BrowsingTheOpenListFollowsEachToolkit", S::File, settings::defaultContent(), {
            browseList().only(Windows, "the recording view has no list to open"),
            expect(C::txtK, "20").only(Win32, "Windows moves the selection, and the text part with it, as the list is browsed; K follows what the selector shows"),
            expect(C::txtK, "40").only(Qt, "Qt only highlights what is browsed; the selector and K change when an entry is picked")}},
    };
    return table;
}
// clang-format on

void run(Driver& driver, const Scenario& scenario)
{
    testing::TestDir temp;
    const fs::path folder = fs::u8path(temp.path()) / fs::u8path(scenario.folder);
    fs::create_directories(folder);
    const std::string programDir = folder.u8string();
    const std::string file = settings::settingsPath(programDir);
    if (scenario.start == Scenario::Start::File)
        testing::writeFile(file, scenario.file);
    else if (scenario.start == Scenario::Start::Folder)
        fs::create_directory(fs::u8path(file));

    driver.open(programDir);
    size_t seen = 0;
    for (size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        if (!(step.fronts & driver.front()))
            continue;
        SCOPED_TRACE("step " + std::to_string(i + 1) +
                     (*step.why ? std::string(": ") + step.why : ""));
        const std::string text = step.texts.empty() ? "" : withFile(step.texts[0], file);
        switch (step.action) {
        case Step::Do::WriteFile:
            testing::writeFile(file, text);
            break;
        case Step::Do::RemoveFile:
            fs::remove(fs::u8path(file));
            break;
        case Step::Do::Type:
            driver.type(step.control, text);
            break;
        case Step::Do::Click:
            driver.click(step.control);
            break;
        case Step::Do::Mouse:
            driver.mouse(step.control, static_cast<Mouse>(step.number));
            break;
        case Step::Do::Pick:
            driver.pick(step.number);
            break;
        case Step::Do::Key:
            driver.key(step.control, static_cast<Key>(step.number));
            break;
        case Step::Do::BrowseList:
            driver.browseList();
            break;
        case Step::Do::FailLaunches:
            driver.launcher->editorStarts = false;
            driver.launcher->documentResult = 2; // ShellExecute's "file not found"
            break;
        case Step::Do::Expect: {
            const std::vector<Control> controls = controlsFrom(step.control, step.texts.size());
            for (size_t c = 0; c < controls.size(); ++c)
                EXPECT_EQ(driver.text(controls[c]), step.texts[c])
                    << form::definition(controls[c]).name;
            break;
        }
        case Step::Do::ExpectEntries:
            EXPECT_EQ(driver.entries(), step.texts);
            break;
        case Step::Do::ExpectSelected:
            EXPECT_EQ(driver.selectedIndex(), step.number);
            break;
        case Step::Do::ExpectFocus:
            EXPECT_EQ(driver.focus(), std::optional<Control>(step.control))
                << "focus on " << form::definition(step.control).name << " expected";
            break;
        case Step::Do::ExpectMessage:
            ASSERT_LT(seen, driver.messages.size()) << "no message: " << text;
            EXPECT_EQ(driver.messages[seen++], text);
            break;
        case Step::Do::ExpectFile:
            EXPECT_EQ(readAll(file), text);
            break;
        case Step::Do::ExpectEditor:
            EXPECT_EQ(driver.launcher->editorPaths,
                      std::vector<std::string>(static_cast<size_t>(step.number), file));
            break;
        case Step::Do::ExpectOpened:
            EXPECT_EQ(
                driver.launcher->documents,
                std::vector<std::string>(static_cast<size_t>(step.number), form::referenceAddress));
            break;
        }
    }
    EXPECT_EQ(std::vector<std::string>(driver.messages.begin() + static_cast<long>(seen),
                                       driver.messages.end()),
              std::vector<std::string>{})
        << "messages no step expected";
}

// Each test program has the driver of its own front.
std::unique_ptr<Driver> makeDriver();

class Behaviour : public ::testing::TestWithParam<Scenario>
{};

TEST_P(Behaviour, Holds)
{
    const std::unique_ptr<Driver> driver = makeDriver();
    run(*driver, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, Behaviour, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

} // namespace vellmore::behaviour
