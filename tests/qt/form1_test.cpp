#include "form/layout.h"
#include "qt/form1.h"
#include "recordinglauncher.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vellmore::qt {
namespace {

using form::Control;

// A shown window on a fresh program folder, its launches and messages recorded.
class QtForm1 : public ::testing::Test
{
protected:
    void open()
    {
        m_form = std::make_unique<Form1>(m_dir.path(), m_launcher, [this](const QString& m) {
            m_messages.push_back(m.toStdString());
        });
        m_form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }
    template <typename T = QWidget>
    T* widget(Control id) const
    {
        return m_form->findChild<T*>(QString::fromLatin1(form::definition(id).name));
    }
    QString text(Control id) const { return widget(id)->property("text").toString(); }
    void type(QWidget* edit, const QString& text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir m_dir;
    std::shared_ptr<vellmore::testing::RecordingLauncher> m_launcher =
        std::make_shared<vellmore::testing::RecordingLauncher>();
    std::unique_ptr<Form1> m_form;
    std::vector<std::string> m_messages;
};

TEST_F(QtForm1, BuildsTheControlsFromTheLayoutTable)
{
    // A folder where the settings file belongs stops the start-up load, so the window keeps
    // every design-time text.
    QDir(m_dir.path()).mkdir(QStringLiteral("Vellmore.ini"));
    open();
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_form->windowTitle(), "Vellmore");
    EXPECT_EQ(m_form->size(), QSize(351, 379));
    EXPECT_EQ(m_form->minimumSize(), m_form->maximumSize()) << "fixed size";
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        QWidget* control = widget(def.id);
        auto* combo = qobject_cast<QComboBox*>(control);
        EXPECT_EQ(combo ? combo->currentText() : text(def.id), def.text);
        EXPECT_EQ(control->palette().color(QPalette::WindowText) == QColor(0, 0, 255), def.blue);
        const QVariant align = control->property("alignment");
        EXPECT_TRUE(align.isNull() || combo ||
                    (align.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask) ==
                        alignments[static_cast<int>(def.align)]);

        // Only a fixed caption may grow its box, away from its aligned edge, to show it whole:
        // a label's text has its whole box, a button's the inside of its bevel.
        const form::Rect laid = form::toPixels(def.twips, 96);
        const QRect at = control->geometry();
        const bool fixed = form::hasFixedCaption(def);
        EXPECT_EQ(QRect(at.x(), laid.top, at.width(), laid.height), at);
        EXPECT_TRUE(at.x() == laid.left || (fixed && def.align != form::Align::Left));
        EXPECT_TRUE(at.x() + at.width() == laid.right() ||
                    (fixed && def.align != form::Align::Right));
        int space = control->contentsRect().width();
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            space = button->style()
                        ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                        .width();
        }
        EXPECT_TRUE(!fixed || control->fontMetrics().horizontalAdvance(def.text) <= space)
            << "the whole caption shows in " << QFontInfo(control->font()).family().toStdString();
    }
    QFont underlined = m_form->font(); // the layout's face and size for every control
    underlined.setUnderline(true);
    EXPECT_TRUE(widget(Control::Label14)->font() == underlined);
    EXPECT_EQ(widget(Control::Label14)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(QtForm1, TabsInTabOrderAndForwardsEveryEvent)
{
    open();
    const std::vector<Control> order = form::tabOrder();
    for (size_t i = 0; i <= order.size(); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), widget(order[i % order.size()])) << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    auto* combo = widget<QComboBox>(Control::Combo1);
    EXPECT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->currentIndex(), -1) << "a load selects no entry";
    EXPECT_EQ(combo->currentText(), "");

    auto* k = widget(Control::txtK);
    type(k, QStringLiteral("200"));
    QTest::keyClick(k, Qt::Key_Return);
    QTest::keyClick(k, Qt::Key_Escape);
    EXPECT_EQ(text(Control::lblExposure), "0.07213 Sec") << "Enter and Esc do nothing";
    QTest::mouseClick(widget(Control::Command1), Qt::LeftButton);
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec");

    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(text(Control::txtK), "20") << "the arrow key picks the first entry";
    type(combo->lineEdit(), QStringLiteral("FullMoon= (200)"));
    EXPECT_EQ(text(Control::txtK), "200") << "typing an entry's text picks it";
    type(combo->lineEdit(), QStringLiteral("Cres"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), "Cres") << "no completion";
    EXPECT_EQ(combo->count(), 7) << "typed text is never added to the list";

    QFile ini(m_dir.filePath(QStringLiteral("Vellmore.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("FilmISO=400\r\n");
    ini.close();
    QTest::mouseClick(widget(Control::Command2), Qt::LeftButton);
    EXPECT_EQ(text(Control::txtISO), "400");
    QTest::mouseClick(widget(Control::Command3), Qt::LeftButton);
    EXPECT_EQ(m_launcher->editorPaths,
              std::vector<std::string>{QFile::encodeName(ini.fileName()).toStdString()});
    QWidget* link = widget(Control::Label14);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5)); // released elsewhere: no click
    EXPECT_EQ(m_launcher->documents, std::vector<std::string>{form::referenceAddress});
    EXPECT_FALSE(link->hasFocus());
    EXPECT_TRUE(m_messages.empty());
}

// The message boxes a window shows; they are opened without a nested event loop.
QList<QMessageBox*> openMessages(const QWidget& window)
{
    QList<QMessageBox*> open;
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            open.append(box);
    }
    return open;
}

TEST(QtForm1Messages, ShowWindowModalWithoutWaitingAndStartUpOnesOnceShown)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Vellmore.ini"));
    Form1 window(dir.path()); // the real desktop: messages go to a message box
    EXPECT_TRUE(openMessages(window).isEmpty()) << "nothing shows before the window";
    window.show();
    // show() has returned with the box open: it runs no event loop of its own.
    const QList<QMessageBox*> boxes = openMessages(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("is a folder")));
    EXPECT_EQ(boxes[0]->windowModality(), Qt::WindowModal);
    boxes[0]->accept();
    window.showMinimized();
    window.showNormal();
    EXPECT_TRUE(openMessages(window).isEmpty()) << "a start-up message is shown once";
}

} // namespace
} // namespace vellmore::qt
