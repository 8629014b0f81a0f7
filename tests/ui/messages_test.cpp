#include "windowtesting.h"

#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>

namespace vellmore::ui::testing {
namespace {

QMessageBox* openMessage(const QWidget& window)
{
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            return box;
    }
    return nullptr;
}

using MessagesTest = WindowTest;

TEST_F(MessagesTest, AFaultIsShownWindowModalWithoutWaiting)
{
    Form1 window(dir()); // the real desktop: messages go to a message box
    window.show();
    window.findChild<QLineEdit*>(QStringLiteral("txtEyepieceFL"))->setText(QStringLiteral("0"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    // The click handler has returned, so the box runs no event loop of its own.
    QMessageBox* box = openMessage(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Cannot work out the magnification: the eyepiece focal length is 0.");
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    box->accept();
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
    QSignalSpy picked(control<QComboBox>("Combo1"), &QComboBox::activated);
    QSignalSpy edited(control<QComboBox>("Combo1")->lineEdit(), &QLineEdit::textEdited);
    type("txtK", QStringLiteral("7"));
    click("Command2");
    EXPECT_EQ(picked.count() + edited.count(), 0);
    EXPECT_EQ(text("txtK"), "40") << "the file's K, not an object's";
}

} // namespace
} // namespace vellmore::ui::testing
