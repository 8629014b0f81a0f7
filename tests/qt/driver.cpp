// The Qt window on Qt's offscreen platform, driven with Qt's own key and mouse events, for the
// behaviour table.
#include "behaviour/behaviour.h"
#include "qt/form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace vellmore {
namespace {

using form::Control;

QString nameOf(Control id)
{
    return QString::fromUtf8(form::definition(id).name);
}

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
    QWidget* widget(Control id) const { return m_form->findChild<QWidget*>(nameOf(id)); }
    QComboBox* combo() const { return static_cast<QComboBox*>(widget(Control::Combo1)); }

    std::unique_ptr<qt::Form1> m_form;
};

} // namespace

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<QtDriver>();
}
} // namespace behaviour

} // namespace vellmore
