#include "behaviour/behaviour.h"
#include "qt/form1.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vellmore {
namespace {

using form::Control;

QString nameOf(Control id)
{
    return QString::fromUtf8(form::definition(id).name);
}

// A window on the real desktop whose settings file is a folder: the start-up load stops, so
// every control keeps its design-time text, and one message waits for the window's first paint.
class QtForm1 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(m_dir.path()).mkdir(QStringLiteral("Vellmore.ini"));
        m_form = std::make_unique<qt::Form1>(m_dir.path());
    }
    QWidget* widget(Control id) const { return m_form->findChild<QWidget*>(nameOf(id)); }

    QTemporaryDir m_dir;
    std::unique_ptr<qt::Form1> m_form;
};

QString spokenName(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// The widget a screen reader is told labels this one.
QObject* labelling(QWidget* field)
{
    const auto labels = QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
    return labels.size() == 1 ? labels[0].first->object() : nullptr;
}

TEST_F(QtForm1, BuildsTheControlsFromTheLayoutTable)
{
    EXPECT_EQ(m_form->windowTitle(), "Vellmore");
    EXPECT_EQ(m_form->size(), QSize(351, 379));
    EXPECT_EQ(m_form->minimumSize(), m_form->maximumSize()) << "fixed size";
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    for (const form::ControlDef& def : form::controls()) {
        SCOPED_TRACE(def.name);
        QWidget* control = widget(def.id);
        auto* combo = qobject_cast<QComboBox*>(control);
        EXPECT_EQ(control->palette().color(QPalette::WindowText) == QColor(0, 0, 255), def.blue);
        const QVariant align = control->property("alignment");
        EXPECT_TRUE(align.isNull() || combo ||
                    (align.value<Qt::Alignment>() & Qt::AlignHorizontal_Mask) ==
                        alignments[int(def.align)]);
        // A screen reader names a field after its label, and reads a result with its caption.
        if (def.names) {
            EXPECT_EQ(labelling(widget(*def.names)), control);
            if (qobject_cast<QLabel*>(widget(*def.names))) {
                EXPECT_EQ(spokenName(widget(*def.names)), def.text + QString(" 0"));
            }
        }
        // Only a label's fixed caption may grow its box, away from its aligned edge, and then as
        // far as Qt itself says the caption needs in the face this machine has. Every button's
        // caption fits its box in it.
        const form::Rect r = form::toPixels(def.twips, 96);
        const QRect laid(r.left, r.top, r.width, r.height);
        const QRect at = control->geometry();
        if (!form::hasFixedCaption(def) || def.kind == form::Kind::Button) {
            EXPECT_EQ(at, laid);
            continue;
        }
        EXPECT_EQ(QRect(at.x(), laid.top(), at.width(), laid.height()), at);
        EXPECT_TRUE(at.x() == laid.x() || def.align != form::Align::Left);
        EXPECT_TRUE(at.right() == laid.right() || def.align != form::Align::Right);
        EXPECT_LE(control->sizeHint().width(), at.width())
            << QFontInfo(control->font()).family().toStdString();
    }
    QFont underlined = m_form->font(); // the layout's face and size for every control
    underlined.setUnderline(true);
    EXPECT_TRUE(widget(Control::Label14)->font() == underlined);
    EXPECT_EQ(widget(Control::Label14)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(widget(Control::Label14)->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(widget(Control::Command1), Qt::LeftButton);
    EXPECT_EQ(spokenName(widget(Control::lblExposure)), "Exposure: 0.07213 Sec")
        << "follows the result";
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

TEST_F(QtForm1, MessagesOpenWithoutWaitingAndStartUpOnesOnceTheWindowIsPainted)
{
    m_form->show();
    EXPECT_TRUE(openMessages(*m_form).isEmpty()) << "nothing before the first paint";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    QCoreApplication::processEvents();
    QList<QMessageBox*> boxes = openMessages(*m_form);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("is a folder")));
    EXPECT_EQ(boxes[0]->windowModality(), Qt::WindowModal);
    boxes[0]->accept();
    m_form->showMinimized();
    m_form->showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(openMessages(*m_form).isEmpty()) << "a start-up message is shown once";
    // The click returns with its message open: the handler never waits for it to be read.
    static_cast<QLineEdit*>(widget(Control::txtEyepieceFL))->setText(QStringLiteral("0"));
    QTest::mouseClick(widget(Control::Command1), Qt::LeftButton);
    boxes = openMessages(*m_form);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().startsWith(QStringLiteral("Cannot work out the magnification")));
}

} // namespace
} // namespace vellmore
