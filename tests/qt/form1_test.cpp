// The Qt window on Qt's offscreen platform: the behaviour table's driver, which works it with
// Qt's own key and mouse events, and the tests of what only this front end does.
#include "behaviour/behaviour.h"
#include "qt/form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace vellmore {
namespace {

using form::Control;

// The Qt window on Qt's offscreen platform, driven with Qt's own key and mouse events.
class QtDriver final : public behaviour::Driver
{
public:
    behaviour::Front front() const override { return behaviour::Qt; }
    void open(const std::string& programDir) override
    {
        m_form = std::make_unique<qt::Form1>(
            QString::fromStdString(programDir), launcher, [this](const QString& message) {
                EXPECT_FALSE(m_form->testAttribute(Qt::WA_WState_InPaintEvent)) << "mid-paint";
                messages.push_back(message.toStdString());
            });
        m_form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        QCoreApplication::processEvents(); // the first paint's start-up messages
    }
    void type(Control id, const std::string& text) override
    {
        QWidget* edit = id == Control::Combo1 ? combo()->lineEdit() : widget(id);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        // Each character as a key that types it, whatever its script.
        for (const QChar c : QString::fromStdString(text))
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void click(Control id) override { QTest::mouseClick(widget(id), Qt::LeftButton); }
    void readerActivatesLink() override
    {
        QAccessible::queryAccessibleInterface(widget(Control::Label14))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    }
    void mouse(behaviour::Mouse action) override
    {
        // Through the window, as the platform delivers them, so a double-click is one.
        QWidget* link = widget(Control::Label14);
        const QPoint at = link->mapTo(m_form.get(), link->rect().center());
        const QPoint away = at - QPoint(0, 2 * link->height());
        using Q = QTest::MouseAction;
        const Qt::MouseButton L = Qt::LeftButton, R = Qt::RightButton;
        // clang-format off
        const std::vector<std::tuple<Q, Qt::MouseButton, QPoint>> sequences[] = {
            {{Q::MouseClick, L, at}}, {{Q::MouseDClick, L, at}},
            {{Q::MousePress, L, at}, {Q::MouseMove, Qt::NoButton, away}, {Q::MouseRelease, L, away}},
            {{Q::MouseClick, R, at}}, {{Q::MousePress, L, at}, {Q::MouseClick, R, at}, {Q::MouseRelease, L, at}},
        };
        // clang-format on
        for (const auto& [what, button, where] : sequences[static_cast<int>(action)])
            QTest::mouseEvent(what, m_form->windowHandle(), button, {}, where);
    }
    void pick(int index) override
    {
        // The list opened, walked with the arrow keys to the entry, and Return.
        combo()->showPopup();
        QAbstractItemView* list = combo()->view();
        for (int row = list->currentIndex().row(); row != index; row += row < index ? 1 : -1)
            QTest::keyClick(list, row < index ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Return);
    }
    void key(Control id, behaviour::Key key) override
    {
        const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return,
                                Qt::Key_Escape};
        QTest::keyClick(key == behaviour::Key::Tab ? QApplication::focusWidget() : widget(id),
                        keys[static_cast<int>(key)]);
    }
    void browseList() override
    {
        combo()->showPopup();
        QTest::keyClick(combo()->view(), Qt::Key_Down);
    }

    std::string text(Control id) const override
    {
        return (id == Control::Combo1 ? combo()->currentText()
                                      : widget(id)->property("text").toString())
            .toStdString();
    }
    std::vector<std::string> entries() const override
    {
        std::vector<std::string> texts;
        for (int i = 0; i < combo()->count(); ++i)
            texts.push_back(combo()->itemText(i).toStdString());
        return texts;
    }
    int selectedIndex() const override { return combo()->currentIndex(); }
    std::optional<Control> focus() const override
    {
        for (QWidget* at = QApplication::focusWidget(); at; at = at->parentWidget()) {
            for (const form::ControlDef& def : form::controls()) {
                if (at->objectName() == def.name)
                    return def.id;
            }
        }
        return std::nullopt;
    }

private:
    QWidget* widget(Control id) const
    {
        return m_form->findChild<QWidget*>(form::definition(id).name);
    }
    QComboBox* combo() const { return static_cast<QComboBox*>(widget(Control::Combo1)); }

    std::unique_ptr<qt::Form1> m_form;
};

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
    QWidget* widget(Control id) const
    {
        return m_form->findChild<QWidget*>(form::definition(id).name);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<qt::Form1> m_form;
};

QString spokenName(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

std::string family(const QWidget& control)
{
    return QFontInfo(control.font()).family().toStdString();
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
        // Only a fixed caption may grow its box, away from its aligned edge, and then as far as
        // Qt itself says it needs in the face this machine has; where that is too wide even so,
        // the caption has a smaller size of the face.
        const form::Rect r = form::toPixels(form::placeOf(def), 96);
        const QRect laid(r.left, r.top, r.width, r.height);
        const QRect at = control->geometry();
        if (!form::hasFixedCaption(def)) {
            EXPECT_EQ(at, laid);
            continue;
        }
        EXPECT_EQ(QRect(at.x(), laid.top(), at.width(), laid.height()), at);
        EXPECT_TRUE(at.x() == laid.x() || def.align != form::Align::Left);
        EXPECT_TRUE(at.right() == laid.right() || def.align != form::Align::Right);
        EXPECT_TRUE(std::abs(at.center().x() - laid.center().x()) <= 1 ||
                    def.align != form::Align::Centre);
        EXPECT_LE(control->sizeHint().width(), at.width()) << "cut, in " << family(*control);
        EXPECT_LE(control->sizeHint().height(), at.height()) << "cut, in " << family(*control);
        EXPECT_LE(control->font().pointSizeF(), m_form->font().pointSizeF());
        EXPECT_EQ(control->font().family(), m_form->font().family());
    }
    EXPECT_TRUE(widget(Control::Label14)->font().underline());
    // A screen reader meets the address as a link, whose one action opens it.
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(widget(Control::Label14));
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_TRUE(link->state().linked);
    EXPECT_EQ(link->text(QAccessible::Name), form::referenceAddress);
    EXPECT_EQ(link->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    // The selector's list shows names in the face of its text part.
    auto* combo = static_cast<QComboBox*>(widget(Control::Combo1));
    combo->showPopup();
    EXPECT_EQ(combo->view()->font(), combo->lineEdit()->font());
    combo->hidePopup();
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
    // The click returns with its message open: the handler never waits for it to be read.
    static_cast<QLineEdit*>(widget(Control::txtEyepieceFL))->setText(QStringLiteral("0"));
    QTest::mouseClick(widget(Control::Command1), Qt::LeftButton);
    boxes = openMessages(*m_form);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->text().startsWith(QStringLiteral("Cannot work out the magnification")));
}

} // namespace

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<QtDriver>();
}
} // namespace behaviour

} // namespace vellmore

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no window system.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
