#include "form/layout.h"
#include "qt/form1.h"
#include "recordinglauncher.h"

#include <QAbstractItemView>
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

#include <memory>

namespace vellmore::qt {
namespace {

using form::Control;

const char* qtClass(form::Kind kind)
{
    switch (kind) {
    case form::Kind::Label:
        return "QLabel";
    case form::Kind::Link:
        return "vellmore::qt::ClickableLabel";
    case form::Kind::TextBox:
        return "QLineEdit";
    case form::Kind::Button:
        return "QPushButton";
    case form::Kind::Selector:
        return "QComboBox";
    }
    return "";
}

// The pixels a control's caption has: a label's contents, a button's inside its bevel.
int captionSpace(QWidget* widget)
{
    auto* button = qobject_cast<QPushButton*>(widget);
    if (!button)
        return widget->contentsRect().width();
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
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

// A shown window on a temporary program directory, with its messages and launches recorded.
class Form1Test : public ::testing::Test
{
protected:
    void openShown()
    {
        m_window = std::make_unique<Form1>(m_dir.path(), m_launcher,
                                           [this](const QString& m) { m_messages.append(m); });
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    template <typename T = QWidget>
    T* control(Control id) const
    {
        return m_window->findChild<T*>(QString::fromLatin1(form::spec(id).name));
    }
    QString text(Control id) const { return control(id)->property("text").toString(); }
    void click(Control id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }

    QTemporaryDir m_dir;
    std::shared_ptr<vellmore::testing::RecordingLauncher> m_launcher =
        std::make_shared<vellmore::testing::RecordingLauncher>();
    std::unique_ptr<Form1> m_window;
    QStringList m_messages;
};

TEST_F(Form1Test, BuildsTheTwentyNineControlsFromTheLayoutTable)
{
    // A folder where the settings file belongs stops the start-up load, so the window keeps
    // every design-time text.
    QDir(m_dir.path()).mkdir(QStringLiteral("Vellmore.ini"));
    openShown();
    EXPECT_EQ(m_messages.size(), 1);
    EXPECT_EQ(m_window->windowTitle(), "Vellmore");
    EXPECT_EQ(m_window->size(), QSize(351, 379));
    EXPECT_EQ(m_window->minimumSize(), m_window->maximumSize()) << "fixed size";
    EXPECT_EQ(m_window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 29);
    for (const form::ControlSpec& spec : form::controls()) {
        SCOPED_TRACE(spec.name);
        QWidget* widget = control(spec.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), qtClass(spec.kind));
        const bool combo = spec.kind == form::Kind::Selector;
        EXPECT_EQ(widget->property(combo ? "currentText" : "text").toString(), spec.text);

        // Only a fixed caption may grow its box, and only away from its aligned edge.
        const form::Rect design = form::toPixels(spec.twips, 96);
        const QRect at = widget->geometry();
        const bool fixed = form::hasFixedCaption(spec);
        EXPECT_EQ(at.top(), design.top);
        EXPECT_EQ(at.height(), design.height);
        EXPECT_GE(at.width(), design.width);
        EXPECT_TRUE(at.x() == design.left || (fixed && spec.align != form::Align::Left));
        EXPECT_TRUE(at.x() + at.width() == design.right() ||
                    (fixed && spec.align != form::Align::Right));

        if (!widget->property("alignment").isNull() && !combo) {
            const auto align = widget->property("alignment").value<Qt::Alignment>();
            EXPECT_EQ(align & Qt::AlignHorizontal_Mask,
                      spec.align == form::Align::Right    ? Qt::AlignRight
                      : spec.align == form::Align::Centre ? Qt::AlignHCenter
                                                          : Qt::AlignLeft);
        }
        EXPECT_EQ(widget->palette().color(QPalette::WindowText) == QColor(0, 0, 255), spec.blue);
        EXPECT_EQ(widget->focusPolicy() == Qt::NoFocus, qobject_cast<QLabel*>(widget) != nullptr);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_FALSE(button->isDefault() || button->autoDefault());
        }
        if (fixed) {
            EXPECT_LE(widget->fontMetrics().horizontalAdvance(text(spec.id)), captionSpace(widget))
                << "the whole caption shows in "
                << QFontInfo(widget->font()).family().toStdString();
        }
    }
    const QFont link = control(Control::Label14)->font();
    EXPECT_TRUE(link.underline() && !control(Control::Label13)->font().underline());
    EXPECT_EQ(link.pointSizeF(), 8.25);
    EXPECT_EQ(link.weight(), QFont::Normal);
    EXPECT_EQ(control(Control::Label14)->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Form1Test, FocusStartsOnTheFirstControlAndTabsInTabOrder)
{
    openShown();
    const std::vector<Control> order = form::tabOrder();
    for (size_t i = 0; i <= order.size(); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), control(order[i % order.size()])) << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(Form1Test, UserEventsReachTheHandlers)
{
    openShown();
    auto* combo = control<QComboBox>(Control::Combo1);
    EXPECT_EQ(combo->count(), 7);
    EXPECT_EQ(combo->currentIndex(), -1) << "a load selects no entry";
    EXPECT_EQ(combo->currentText(), "");

    auto* k = control<QLineEdit>(Control::txtK);
    k->setFocus();
    QTest::keyClick(k, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(k, QStringLiteral("200"));
    QTest::keyClick(k, Qt::Key_Return);
    QTest::keyClick(k, Qt::Key_Escape);
    EXPECT_EQ(text(Control::lblExposure), "0.07213 Sec") << "no default button";
    click(Control::Command1);
    EXPECT_EQ(text(Control::lblExposure), "0.01443 Sec");

    combo->showPopup(); // picked with the mouse from the open list
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(3, 0)).center());
    EXPECT_EQ(text(Control::txtK), "13.6");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(text(Control::txtK), "32.5") << "the keyboard picks too";

    QLineEdit* typed = combo->lineEdit();
    typed->clear();
    QTest::keyClicks(typed, QStringLiteral("Cres"));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(combo->currentText(), "Cres") << "no completion";
    EXPECT_EQ(combo->count(), 7) << "typed text is never added to the list";
    typed->clear();
    QTest::keyClicks(typed, QStringLiteral("FullMoon= (200)"));
    EXPECT_EQ(text(Control::txtK), "200");

    QFile ini(m_dir.filePath(QStringLiteral("Vellmore.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("FilmISO=400\r\n");
    ini.close();
    click(Control::Command2);
    EXPECT_EQ(text(Control::txtISO), "400");
    EXPECT_EQ(combo->count(), 0);

    click(Control::Command3);
    EXPECT_EQ(m_launcher->editorPaths,
              std::vector<std::string>{QFile::encodeName(ini.fileName()).toStdString()});
    auto* link = control(Control::Label14);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(m_launcher->documents, std::vector<std::string>{form::referenceAddress})
        << "a press released elsewhere is no click";
    EXPECT_FALSE(link->hasFocus());
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST(Form1Messages, ShowWindowModalWithoutWaitingAndStartUpOnesOnceShown)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("Vellmore.ini"));
    Form1 window(dir.path()); // the real desktop: messages go to a message box
    EXPECT_TRUE(openMessages(window).isEmpty()) << "nothing shows before the window";
    window.show();
    QList<QMessageBox*> boxes = openMessages(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("is a folder")));
    boxes[0]->accept();
    window.showMinimized();
    window.showNormal();
    EXPECT_TRUE(openMessages(window).isEmpty()) << "a start-up message is shown once";

    window.findChild<QLineEdit*>(QStringLiteral("txtEyepieceFL"))->setText(QStringLiteral("0"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    // The click handler has returned, so the box runs no event loop of its own.
    boxes = openMessages(window);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text(),
              "Cannot work out the magnification: the eyepiece focal length is 0.");
    EXPECT_EQ(boxes[0]->windowModality(), Qt::WindowModal);
    boxes[0]->accept();
}

} // namespace
} // namespace vellmore::qt
