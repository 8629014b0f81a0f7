#include "windowtesting.h"

namespace vellmore::ui::testing {
namespace {

using LaunchTest = WindowTest;

TEST_F(LaunchTest, EditSettingsOpensTheFileEvenWhenItIsMissing)
{
    open();
    ASSERT_TRUE(QFile::remove(iniPath()));
    click("Command3");
    EXPECT_EQ(m_launcher->editorPaths, QStringList{iniPath()});
    EXPECT_FALSE(QFile::exists(iniPath())) << "Edit Settings never creates the file";
    EXPECT_TRUE(messages.isEmpty());

    m_launcher->editorStarts = false;
    click("Command3");
    EXPECT_EQ(messages,
              QStringList{"Could not start a text editor for the settings file " + iniPath() +
                          ". Open it with any text editor, then click \"ReLoad "
                          "Settings\"."});
}

TEST_F(LaunchTest, ClickingTheAddressOpensItEveryTimeAndIgnoresTheResult)
{
    openShown();
    m_launcher->documentResult = 2; // ShellExecute's "file not found"
    auto* link = control<QLabel>("Label14");
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    const QString address = QStringLiteral("https://en.wikipedia.org/wiki/Afocal_photography");
    EXPECT_EQ(m_launcher->documents, QStringList({address, address}));
    EXPECT_TRUE(messages.isEmpty()) << "a failing handler is not reported";
    EXPECT_EQ(results(), designResults) << "the window itself never changes";
    EXPECT_FALSE(link->hasFocus());

    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(m_launcher->documents.size(), 2) << "released elsewhere is no click";

    QString doc = QStringLiteral("C:\\Sky\\Moon notes.txt");
    m_launcher->documentResult = 33;
    EXPECT_EQ(m_window->StartDoc(doc), 33);
    EXPECT_EQ(doc, "C:\\Sky\\Moon notes.txt");
}

} // namespace
} // namespace vellmore::ui::testing
