#include "fakeview.h"
#include "form/form1logic.h"
#include "recordinglauncher.h"
#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace vellmore::form {
namespace {

using Texts = std::vector<std::string>;

const Texts defaultResults = {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"};

class Form1LogicTest : public ::testing::Test
{
protected:
    std::string iniPath() const { return settings::settingsPath(m_dir.path()); }
    void writeIni(const std::string& bytes) const { testing::writeFile(iniPath(), bytes); }

    // The window as the program opens it: a fresh window, loaded, then shown.
    void open(bool show = true)
    {
        m_view = FakeView();
        m_logic = std::make_unique<Form1Logic>(m_view, m_dir.path(), m_launcher);
        m_logic->load();
        if (show)
            m_logic->shown();
    }
    std::string& text(Control control) { return m_view.texts[FakeView::index(control)]; }
    void pick(int row)
    {
        m_view.setSelectedIndex(row);
        m_logic->objectPicked();
    }

    testing::TestDir m_dir;
    FakeView m_view;
    std::shared_ptr<testing::RecordingLauncher> m_launcher =
        std::make_shared<testing::RecordingLauncher>();
    std::unique_ptr<Form1Logic> m_logic;
};

TEST_F(Form1LogicTest, FirstStartWritesTheDefaultFileReloadReadsItAndCalculateMayFault)
{
    open();
    EXPECT_EQ(testing::contentOf(iniPath()), settings::defaultContent());
    EXPECT_EQ(m_view.entries,
              (Texts{"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)", "Saturn= (13.6)",
                     "Jupiter= (32.5)", "Mars= (32.5)", "Venus= (1310)"}));
    EXPECT_EQ(m_view.results(), defaultResults);
    EXPECT_EQ(m_view.selected, -1);
    EXPECT_EQ(text(Control::Combo1), "") << "the design-time \"Select Object\" is gone";

    pick(2);
    const std::string edited = "FilmISO=400\r\n[Exposures]\r\nDim Comet=.5\r\n";
    writeIni(edited);
    m_logic->reloadClicked();
    EXPECT_EQ(text(Control::txtISO), "400");
    EXPECT_EQ(m_view.results(), defaultResults) << "a reload does not calculate";
    EXPECT_EQ(m_view.entries, Texts{"Dim Comet= (.5)"});
    EXPECT_EQ(m_view.selected, -1);
    pick(0);
    EXPECT_EQ(text(Control::txtK), "0.5") << "the list writes \".5\", the K field \"0.5\"";
    EXPECT_EQ(testing::contentOf(iniPath()), edited) << "never written once it exists";

    std::filesystem::remove(iniPath());
    m_logic->reloadClicked();
    EXPECT_EQ(testing::contentOf(iniPath()), settings::defaultContent());
    EXPECT_EQ(text(Control::txtISO), "400") << "writing the default file loads nothing";
    m_logic->reloadClicked();
    EXPECT_EQ(text(Control::txtISO), "100");
    EXPECT_TRUE(m_view.messages.empty());

    text(Control::txtTelescopeFL) = "0 mm"; // a fault keeps the labels it did not reach
    m_logic->calculateClicked();
    EXPECT_EQ(m_view.results(), (Texts{"0.00X", "0.00", "0.00", "0.00000 Sec", "13.86 Sec"}));
    EXPECT_EQ(m_view.messages, Texts{"Cannot work out 1 / exposure: the exposure is 0 seconds "
                                     "because the telescope focal length is 0."});
}

TEST_F(Form1LogicTest, PickingOrTypingAnEntryCopiesItsKWithoutRecalculating)
{
    std::string file = settings::defaultContent();
    writeIni(file.replace(file.find("K=40"), 4, "K=200"));
    open();
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec") << "opens with the file's K";
    pick(3);
    EXPECT_EQ(text(Control::txtK), "13.6");
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec") << "no calculation";

    // Typed text picks only the entry it names exactly; typing is never an error.
    // k: txtK afterwards, from "7".
    // clang-format off
    const struct { const char* typed; const char* k; int selected; } cases[] = {
        {"CrescentMoon= (20)", "20", 0}, {"Venus= (1310)", "1310", 6},  {"FullMoon= (200", "7", -1},
        {"fullmoon= (200)", "7", -1},    {"FullMoon= (200) ", "7", -1}, {"", "7", -1},
    };
    // clang-format on
    for (const auto& c : cases) {
        text(Control::txtK) = "7";
        m_view.setSelectedIndex(-1);
        text(Control::Combo1) = c.typed;
        m_logic->selectorEdited();
        EXPECT_EQ(text(Control::txtK) + " " + std::to_string(m_view.selected),
                  std::string(c.k) + " " + std::to_string(c.selected))
            << c.typed;
    }
    EXPECT_TRUE(m_view.messages.empty());
    pick(-1);
    EXPECT_EQ(text(Control::txtK), "7");
    EXPECT_EQ(m_view.messages, Texts{"No object is selected."});
}

TEST_F(Form1LogicTest, ALoadErrorStopsStartUpButNotTheWindow)
{
    std::string thousandAndOne = "[Exposures]\r\n";
    for (int i = 1; i <= 1001; ++i)
        thousandAndOne += "Star" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    const std::string unchanged = " Nothing was loaded or changed.";
    // file: "" for a folder standing where the file belongs; k: txtK afterwards.
    // clang-format off
    const struct { std::string file; std::string message; const char* k; size_t entries; } cases[] = {
        {"", "The settings file " + iniPath() + " is a folder, not a plain text file." + unchanged, "40", 0},
        {std::string("\xFF\xFEK\0=\0002\0", 8), "Vellmore.ini is saved as UTF-16; save it as plain text." + unchanged, "40", 0},
        {"K=30\r\n[Exposures]\r\nA=1\r\nBig Star=1e400\r\nC=3\r\n",
         "The K of Big Star= in Vellmore.ini is too large a number; the objects from there on were not loaded.", "30", 1},
        {thousandAndOne, "Vellmore.ini lists more than 1000 objects; only the first 1000 were loaded.", "40", 1000},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::filesystem::remove_all(iniPath());
        if (c.file.empty())
            std::filesystem::create_directory(iniPath());
        else
            writeIni(c.file);
        open(false);
        EXPECT_TRUE(m_view.messages.empty()) << "nothing shows before the window";
        m_logic->shown();
        m_logic->shown(); // hidden and shown again, or minimised and restored
        EXPECT_EQ(m_view.messages, Texts{c.message});
        EXPECT_EQ(text(Control::txtK), c.k);
        EXPECT_EQ(m_view.entries.size(), c.entries);
        EXPECT_EQ(m_view.results(), Texts(5, "0")) << "start-up stops at the error";
        pick(static_cast<int>(c.entries) - 1);
        m_logic->calculateClicked();
        EXPECT_EQ(text(Control::lblTelescopeMag), "74.74X") << "the window still works";
    }
    EXPECT_EQ(text(Control::txtK), "1000") << "the thousandth object";
}

TEST_F(Form1LogicTest, EditSettingsAndTheAddressGoToTheDesktop)
{
    open();
    std::filesystem::remove(iniPath());
    m_logic->editSettingsClicked();
    EXPECT_EQ(m_launcher->editorPaths, Texts{iniPath()});
    EXPECT_FALSE(std::filesystem::exists(iniPath())) << "Edit Settings never creates the file";

    const auto before = m_view.texts;
    m_launcher->documentResult = 2; // ShellExecute's "file not found"
    m_logic->referenceClicked();
    m_logic->referenceClicked();
    const std::string address = "https://en.wikipedia.org/wiki/Afocal_photography";
    EXPECT_EQ(m_launcher->documents, (Texts{address, address}));
    EXPECT_EQ(m_view.texts, before) << "the window itself never changes";
    EXPECT_TRUE(m_view.messages.empty()) << "a failing handler is not reported";

    m_launcher->editorStarts = false;
    m_logic->editSettingsClicked();
    EXPECT_EQ(m_view.messages.back(), "Could not start a text editor for the settings file " +
                                          iniPath() +
                                          ". Open it with any text editor, then click \"ReLoad "
                                          "Settings\".");
}

} // namespace
} // namespace vellmore::form
