#include "windowtesting.h"

#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>

namespace vellmore::ui::testing {
namespace {

using MessagesTest = WindowTest;

QMessageBox* openMessage(QWidget& window)
{
    const auto boxes = window.findChildren<QMessageBox*>();
    for (QMessageBox* box : boxes) {
        if (box->isVisible())
            return box;
    }
    return nullptr;
}

TEST_F(MessagesTest, AFaultIsShownWindowModalWithoutWaiting)
{
    Form1 window(dir()); // the real desktop: messages go to a message box
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* eyepiece = window.findChild<QLineEdit*>(QStringLiteral("txtEyepieceFL"));
    eyepiece->setText(QStringLiteral("0"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);

    // The click handler has returned: the box is open, not running a loop of its own.
    QMessageBox* box = openMessage(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Cannot work out the magnification: the eyepiece focal length is 0.");
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    box->accept();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblTelescopeMag"))->text(), "74.74X");
}

TEST_F(MessagesTest, AStartUpErrorWaitsForTheWindowToShow)
{
    QDir(dir()).mkdir(QStringLiteral("Vellmore.ini"));
    Form1 window(dir());
    EXPECT_EQ(openMessage(window), nullptr) << "nothing shows before the window";
    window.show();
    QMessageBox* box = openMessage(window);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("is a folder")));
    box->accept();
}

TEST_F(MessagesTest, LoadingRaisesNoSelectionEvent)
{
    open();
    auto* combo = control<QComboBox>("Combo1");
    QSignalSpy picked(combo, &QComboBox::activated);
    QSignalSpy edited(combo->lineEdit(), &QLineEdit::textEdited);
    type("txtK", QStringLiteral("7"));
    click("Command2");
    click("Command2");
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_EQ(text("txtK"), "40") << "the file's K, not an object's";
}

} // namespace
} // namespace vellmore::ui::testing
