#include "settings/settingsfile.h"
#include "windowtesting.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace vellmore::ui::testing {
namespace {

const QStringList defaultEntries = {"CrescentMoon= (20)", "QuarterMoon= (40)", "FullMoon= (200)",
                                    "Saturn= (13.6)",     "Jupiter= (32.5)",   "Mars= (32.5)",
                                    "Venus= (1310)"};

QByteArray defaultWith(const char* from, const char* to)
{
    return QByteArray::fromStdString(settings::defaultContent()).replace(from, to);
}

using SettingsWindowTest = WindowTest;

TEST_F(SettingsWindowTest, FirstStartWritesTheDefaultFileAndOpensWithIt)
{
    open();
    EXPECT_EQ(readIni(), QByteArray::fromStdString(settings::defaultContent()));
    EXPECT_EQ(m_window->settingsPath(), iniPath());
    EXPECT_EQ(entries(), defaultEntries);
    EXPECT_EQ(results(), designResults);
    auto* combo = control<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsWindowTest, OpensWithTheFileValues)
{
    writeIni(defaultWith("K=40", "K=200"));
    open();
    EXPECT_EQ(text("txtK"), "200");
    EXPECT_EQ(text("lblExposure"), "0.01443 Sec");
    EXPECT_EQ(readIni(), defaultWith("K=40", "K=200")) << "an existing file is never rewritten";
}

TEST_F(SettingsWindowTest, PickingAnObjectCopiesItsKWithoutRecalculating)
{
    openShown();
    type("txtK", QStringLiteral("999"));
    pick(3);
    EXPECT_EQ(text("txtK"), "13.6");
    EXPECT_EQ(results(), designResults);
    click("Command1");
    EXPECT_EQ(text("lblExposure"), "0.21214 Sec");
    EXPECT_EQ(text("lblOneDiv"), "4.71 Sec");

    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Down);
    EXPECT_EQ(text("txtK"), "32.5") << "the keyboard picks too";
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsWindowTest, TypingAnEntrysTextPicksIt)
{
    openShown();
    auto* edit = control<QComboBox>("Combo1")->lineEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("FullMoon= (200"));
    EXPECT_EQ(text("txtK"), "40") << "no entry is named yet";
    QTest::keyClicks(edit, QStringLiteral(")"));
    EXPECT_EQ(text("txtK"), "200");
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(text("txtK"), "200");
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
    EXPECT_EQ(m_window->objectTable().ObjectNames[1], "QuarterMoon=");

    QFile::remove(iniPath());
    click("Command2");
    EXPECT_EQ(readIni(), QByteArray::fromStdString(settings::defaultContent()));
    EXPECT_EQ(text("txtISO"), "400") << "writing the default file loads nothing";
    click("Command2");
    EXPECT_EQ(text("txtISO"), "100");
    EXPECT_TRUE(messages.isEmpty());
}

QByteArray objects(int count)
{
    QByteArray file = "K=20\r\n[Exposures]\r\n";
    for (int i = 0; i < count; ++i)
        file += "Star" + QByteArray::number(i) + "=" + QByteArray::number(i + 1) + "\r\n";
    return file;
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

struct Broken
{
    const char* what;
    void (*make)(const QString& iniPath);
    const char* message;
};

TEST_F(SettingsWindowTest, WhatCannotBeReadChangesNothing)
{
    const Broken cases[] = {
        {"folder", [](const QString& p) { QDir().mkdir(p); }, "is a folder"},
        {"pipe", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); },
         "is a pipe"},
        {"utf16",
         [](const QString& p) {
             QFile file(p);
             file.open(QIODevice::WriteOnly);
             file.write(QByteArray("\xFF\xFEK\0=\0"
                                   "2\0",
                                   8));
         },
         "Vellmore.ini is saved as UTF-16; save it as plain text"},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir other;
        c.make(other.filePath(QStringLiteral("Vellmore.ini")));
        messages.clear();
        m_window = std::make_unique<Form1>(other.path(), std::make_shared<RecordingLauncher>(),
                                           [this](const QString& m) { messages.append(m); });
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QString::fromLatin1(c.message)))
            << messages[0].toStdString();
        EXPECT_EQ(text("txtK"), "40");
        EXPECT_EQ(results(), QStringList({"0", "0", "0", "0", "0"}))
            << "start-up stops at the error";
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
             "00\r\n[Exposures]\r\nM\xC3=2\r\n");
    open();
    EXPECT_EQ(text("txtTelescopeFL"), QStringLiteral("14") + QChar(0) + QStringLiteral("20"));
    EXPECT_EQ(text("txtISO"), QStringLiteral("1") + QChar(0xFFFD) + QStringLiteral("00"));
    EXPECT_EQ(entries(),
              QStringList{QStringLiteral("M") + QChar(0xFFFD) + QStringLiteral("= (2)")});
    // Each field reads up to its first odd character: a 14 mm telescope at ISO 1.
    EXPECT_EQ(results(), QStringList({"0.74X", "36.84", "0.17", "0.00070 Sec", "1426.32 Sec"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SettingsWindowTest, ATenMegabyteValueDoesNotStopTheWindow)
{
    writeIni("K=" + QByteArray(10 * 1024 * 1024, 'x') + "\r\n");
    open();
    EXPECT_TRUE(text("txtK").startsWith("xxx"));
    EXPECT_EQ(messages, QStringList{"Cannot work out the exposure: K is 0."});
}

TEST_F(SettingsWindowTest, PermissionsReadOnlyProgramFolderIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes past permissions";
    QFile::setPermissions(dir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    open();
    QFile::setPermissions(dir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Could not create the settings file " + iniPath()));
    EXPECT_EQ(text("txtTelescopeFL"), "1420");
}

} // namespace
} // namespace vellmore::ui::testing
