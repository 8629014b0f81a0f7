#include "windowtesting.h"

#include <QApplication>
#include <QDir>

namespace vellmore::ui::testing {
namespace {

struct Layout
{
    const char* name;
    const char* className;
    const char* text;
    QRect pixels; // design twips / 15
    Qt::Alignment align;
    bool blue;
};

// clang-format off
const Layout layout[] = {
    {"Label1", "QLabel", "Telescope FL (mm):", {24, 24, 105, 17}, Qt::AlignRight, false},
    {"txtTelescopeFL", "QLineEdit", "1420", {136, 24, 65, 19}, Qt::AlignLeft, false},
    {"Label2", "QLabel", "Eyepiece FL (mm):", {24, 48, 105, 17}, Qt::AlignRight, false},
    {"txtEyepieceFL", "QLineEdit", "19", {136, 48, 65, 19}, Qt::AlignLeft, false},
    {"Label3", "QLabel", "Camera FL (mm):", {24, 72, 105, 17}, Qt::AlignRight, false},
    {"txtCameraFL", "QLineEdit", "50", {136, 72, 65, 19}, Qt::AlignLeft, false},
    {"Label4", "QLabel", "Telescope Aperture (mm):", {8, 96, 121, 17}, Qt::AlignRight, false},
    {"txtTelescopeAp", "QLineEdit", "220", {136, 96, 65, 19}, Qt::AlignLeft, false},
    {"Label5", "QLabel", "K:", {48, 120, 81, 17}, Qt::AlignRight, false},
    {"txtK", "QLineEdit", "40", {136, 120, 65, 19}, Qt::AlignLeft, false},
    {"Label6", "QLabel", "Film ISO:", {48, 144, 81, 17}, Qt::AlignRight, false},
    {"txtISO", "QLineEdit", "100", {136, 144, 65, 19}, Qt::AlignLeft, false},
    {"Label7", "QLabel", "Magnification:", {32, 184, 81, 17}, Qt::AlignRight, false},
    {"lblTelescopeMag", "QLabel", "0", {120, 184, 65, 17}, Qt::AlignLeft, true},
    {"Label8", "QLabel", "System FL:", {32, 200, 81, 17}, Qt::AlignRight, false},
    {"lblSystemFL", "QLabel", "0", {120, 200, 65, 17}, Qt::AlignLeft, true},
    {"Label9", "QLabel", "f Ratio:", {32, 216, 81, 17}, Qt::AlignRight, false},
    {"lblFRatio", "QLabel", "0", {120, 216, 65, 17}, Qt::AlignLeft, true},
    {"Label10", "QLabel", "Exposure:", {32, 232, 81, 17}, Qt::AlignRight, false},
    {"lblExposure", "QLabel", "0", {120, 232, 65, 17}, Qt::AlignLeft, true},
    {"Label11", "QLabel", "Or 1 /", {32, 248, 81, 17}, Qt::AlignRight, false},
    {"lblOneDiv", "QLabel", "0", {120, 248, 65, 17}, Qt::AlignLeft, false},
    {"Command2", "QPushButton", "ReLoad Settings", {224, 16, 89, 25}, {}, false},
    {"Command3", "QPushButton", "Edit Settings", {224, 48, 89, 25}, {}, false},
    {"Label12", "QLabel", "Object", {208, 104, 121, 17}, Qt::AlignHCenter, false},
    {"Combo1", "QComboBox", "Select Object", {208, 120, 137, 21}, {}, false},
    {"Command1", "QPushButton", "Calculate", {224, 184, 89, 33}, {}, false},
    {"Label13", "QLabel", "Based on equations found on this webpage:", {40, 336, 257, 17}, Qt::AlignHCenter, false},
    {"Label14", "vellmore::ui::ClickableLabel", "https://en.wikipedia.org/wiki/Afocal_photography", {40, 352, 257, 17}, Qt::AlignHCenter, true},
};
// clang-format on

class Form1Test : public WindowTest
{
protected:
    // A folder where the settings file belongs stops the start-up load, so the window keeps
    // every design-time text.
    void openWithDesignTimeTexts()
    {
        QDir(dir()).mkdir(QStringLiteral("Vellmore.ini"));
        openShown();
        EXPECT_EQ(messages.size(), 1);
        messages.clear();
    }
};

TEST_F(Form1Test, HasTheTwentyNineControlsWhereDesigned)
{
    openWithDesignTimeTexts();
    EXPECT_EQ(m_window->windowTitle(), "Vellmore");
    EXPECT_EQ(m_window->size(), QSize(351, 379));
    EXPECT_EQ(m_window->minimumSize(), m_window->maximumSize()) << "fixed size";
    EXPECT_EQ(m_window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 29);
    for (const Layout& c : layout) {
        SCOPED_TRACE(c.name);
        auto* widget = control<QWidget>(c.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), c.className);
        const auto* combo = qobject_cast<QComboBox*>(widget);
        EXPECT_EQ(widget->property(combo ? "currentText" : "text").toString(), c.text);
        EXPECT_EQ(widget->geometry(), c.pixels);
        if (!widget->property("alignment").isNull()) {
            EXPECT_EQ(widget->property("alignment").value<Qt::Alignment>() &
                          Qt::AlignHorizontal_Mask,
                      c.align);
        }
        EXPECT_EQ(widget->palette().color(QPalette::WindowText) == QColor(0, 0, 255), c.blue);
        if (qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_FALSE(button->isDefault() || button->autoDefault());
            EXPECT_FALSE(button->text().contains('&')) << "no access keys";
        }
    }
    const QFont link = control<QLabel>("Label14")->font();
    EXPECT_EQ(link.family(), "MS Sans Serif");
    EXPECT_TRUE(link.underline());
    EXPECT_EQ(link.pointSizeF(), 8.25);
    EXPECT_EQ(link.weight(), QFont::Normal);
    EXPECT_EQ(control<QLabel>("Label14")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Form1Test, FocusStartsOnTheTelescopeAndTabsInDesignOrder)
{
    openShown();
    QStringList order;
    for (int i = 0; i < 11; ++i) {
        order.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, QStringList({"txtTelescopeFL", "txtEyepieceFL", "txtCameraFL",
                                  "txtTelescopeAp", "txtK", "txtISO", "Command1", "Combo1",
                                  "Command2", "Command3", "txtTelescopeFL"}));
}

TEST_F(Form1Test, SelectorNeitherCompletesNorInsertsTypedText)
{
    open();
    auto* combo = control<QComboBox>("Combo1");
    EXPECT_EQ(combo->completer(), nullptr);
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Cres"));
    EXPECT_EQ(combo->currentText(), "Cres");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->itemText(0), "CrescentMoon= (20)");
}

TEST_F(Form1Test, CalculateShowsTheResultsAndEnterDoesNot)
{
    openWithDesignTimeTexts();
    type("txtK", QStringLiteral("200"));
    QTest::keyClick(control<QLineEdit>("txtK"), Qt::Key_Return);
    QTest::keyClick(control<QLineEdit>("txtK"), Qt::Key_Escape);
    EXPECT_EQ(results(), noResults) << "no default button";
    click("Command1");
    EXPECT_EQ(results(), QStringList({"74.74X", "3736.84", "16.99", "0.01443 Sec", "69.32 Sec"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Form1Test, AFaultKeepsTheLabelsItDidNotReach)
{
    openShown();
    type("txtEyepieceFL", QStringLiteral("0"));
    click("Command1");
    EXPECT_EQ(results(), designResults);
    type("txtEyepieceFL", QStringLiteral("19"));
    type("txtTelescopeFL", QStringLiteral("0 mm"));
    click("Command1");
    EXPECT_EQ(results(), QStringList({"0.00X", "0.00", "0.00", "0.00000 Sec", "13.86 Sec"}));
    EXPECT_EQ(messages, QStringList({"Cannot work out the magnification: the eyepiece focal "
                                     "length is 0.",
                                     "Cannot work out 1 / exposure: the exposure is 0 seconds "
                                     "because the telescope focal length is 0."}));
    EXPECT_TRUE(m_window->isVisible()) << "the program goes on";
}

} // namespace
} // namespace vellmore::ui::testing
