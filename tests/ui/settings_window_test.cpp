#include "settings/settingsfile.h"
#include "windowtesting.h"

#include <QDir>

namespace vellmore::ui::testing {
namespace {

const QByteArray defaultFile = QByteArray::fromStdString(settings::defaultContent());

QByteArray objects(int count)
{
    QByteArray file = "K=20\r\n[Exposures]\r\n";
    for (int i = 0; i < count; ++i)
        file += "Star" + QByteArray::number(i) + "=" + QByteArray::number(i + 1) + "\r\n";
    return file;
}

using SettingsWindowTest = WindowTest;

TEST_F(SettingsWindowTest, FirstStartWritesTheDefaultFileAndOpensWithIt)
{
    open();
    EXPECT_EQ(readIni(), defaultFile);
    EXPECT_EQ(m_window->settingsPath(), iniPath());
    EXPECT_EQ(entries(),
              QStringList({"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)",
                           "Saturn= (13.6)", "Jupiter= (32.5)", "Mars= (32.5)", "Venus= (1310)"}));
    EXPECT_EQ(results(), designResults);
    EXPECT_EQ(control<QComboBox>("Combo1")->currentIndex(), -1);
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), "");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsWindowTest, OpensWithTheFileValuesAndNeverRewritesIt)
{
    writeIni(QByteArray(defaultFile).replace("K=40", "K=200"));
    open();
    EXPECT_EQ(text("txtK"), "200");
    EXPECT_EQ(text("lblExposure"), "0.01443 Sec");
    EXPECT_EQ(readIni(), QByteArray(defaultFile).replace("K=40", "K=200"));
}

TEST_F(SettingsWindowTest, PickingAnObjectCopiesItsKWithoutRecalculating)
{
    openShown();
    type("txtK", QStringLiteral("999"));
    pick(3);
    EXPECT_EQ(text("txtK"), "13.6");
    EXPECT_EQ(results(), designResults);
    click("Command1");
    EXPECT_EQ(results().mid(3), QStringList({"0.21214 Sec", "4.71 Sec"}));

    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Down);
    EXPECT_EQ(text("txtK"), "32.5") << "the keyboard picks too";

    auto* edit = control<QComboBox>("Combo1")->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("FullMoon= (200"));
    EXPECT_EQ(text("txtK"), "32.5") << "no entry is named yet";
    QTest::keyClicks(edit, QStringLiteral(")"));
    EXPECT_EQ(text("txtK"), "200") << "typing an entry's text picks it";
    EXPECT_TRUE(messages.isEmpty()) << "typing is never an error";
}

TEST_F(SettingsWindowTest, HalfShowsWithoutLeadingZeroInTheListButNotInK)
{
    writeIni("[Exposures]\r\nDim Comet=.5\r\n");
    openShown();
    EXPECT_EQ(entries(), QStringList{"Dim Comet= (.5)"});
    pick(0);
    EXPECT_EQ(text("txtK"), "0.5");
}

TEST_F(SettingsWindowTest, ReloadReadsTheFileAgainWithoutRecalculating)
{
    openShown();
    pick(2);
    writeIni("FilmISO=400\r\n[Exposures]\r\nMars=32.5\r\n");
    click("Command2");
    EXPECT_EQ(text("txtISO"), "400");
    EXPECT_EQ(results(), designResults);
    EXPECT_EQ(entries(), QStringList{"Mars= (32.5)"});
    EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), "");
    EXPECT_EQ(m_window->objectTable().ObjectNames[1], "QuarterMoon=") << "stale, unreachable";

    QFile::remove(iniPath());
    click("Command2");
    EXPECT_EQ(readIni(), defaultFile);
    EXPECT_EQ(text("txtISO"), "400") << "writing the default file loads nothing";
    click("Command2");
    EXPECT_EQ(text("txtISO"), "100");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsWindowTest, AThousandObjectsLoadAndTheRestAreReported)
{
    writeIni(objects(1000));
    open();
    EXPECT_EQ(entries().size(), 1000);
    EXPECT_TRUE(messages.isEmpty());
    writeIni(objects(1001));
    click("Command2");
    EXPECT_EQ(entries().size(), 1000);
    EXPECT_EQ(messages, QStringList{"Vellmore.ini lists more than 1000 objects; only the first "
                                    "1000 were loaded."});
    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Down);
    EXPECT_EQ(text("txtK"), "1") << "the window goes on working";
}

TEST_F(SettingsWindowTest, WhatCannotBeReadChangesNothing)
{
    const QByteArray utf16("\xFF\xFEK\0=\0"
                           "2\0",
                           8);
    for (const QByteArray& content : {QByteArray(), utf16}) {
        QTemporaryDir other;
        const QString path = other.filePath(QStringLiteral("Vellmore.ini"));
        if (content.isEmpty()) {
            QDir().mkdir(path);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        messages.clear();
        open(other.path());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(content.isEmpty() ? "is a folder" : "saved as UTF-16"))
            << messages[0].toStdString();
        EXPECT_EQ(text("txtK"), "40");
        EXPECT_EQ(results(), noResults) << "start-up stops at the error";
        EXPECT_EQ(control<QComboBox>("Combo1")->currentText(), "Select Object");
        click("Command1");
        EXPECT_EQ(results(), designResults) << "the window still works";
    }
}

TEST_F(SettingsWindowTest, OddBytesSurviveAsText)
{
    // A NUL byte is an ordinary character; bytes that are not UTF-8 become replacement marks.
    writeIni(QByteArray("TelescopeFL=14") + '\0' +
             "20\r\nFilmISO=1\xFF"
             "00\r\n[Exposures]\r\nM\xC3=2");
    open();
    EXPECT_EQ(text("txtTelescopeFL"), QStringLiteral("14") + QChar(0) + QStringLiteral("20"));
    EXPECT_EQ(text("txtISO"), QStringLiteral("1") + QChar(0xFFFD) + QStringLiteral("00"));
    EXPECT_EQ(entries(),
              QStringList{QStringLiteral("M") + QChar(0xFFFD) + QStringLiteral("= (2)")});
    // Each field reads up to its first odd character: a 14 mm telescope at ISO 1.
    EXPECT_EQ(results(), QStringList({"0.74X", "36.84", "0.17", "0.00070 Sec", "1426.32 Sec"}));

    writeIni("K=" + QByteArray(10 * 1024 * 1024, 'x') + "\r\n");
    click("Command2");
    click("Command1");
    EXPECT_TRUE(text("txtK").startsWith("xxx"));
    EXPECT_EQ(messages, QStringList{"Cannot work out the exposure: K is 0."});
}

} // namespace
} // namespace vellmore::ui::testing
