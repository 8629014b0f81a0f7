#include "qt/form1.h"

#include "qt/clickablelabel.h"
#include "qt/controls.h"
#include "qt/desktoplauncher.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace vellmore::qt {
namespace {

using form::Control;

// Text crosses between the window and the core as local 8-bit bytes.
std::string toLocal(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Form1::Form1(const QString& programDir, QWidget* parent)
    : Form1(programDir, desktopLauncher(), ErrorReporter{}, parent)
{}

Form1::Form1(const QString& programDir, std::shared_ptr<platform::Launcher> launcher,
             ErrorReporter reporter, QWidget* parent)
    : QWidget(parent), m_reporter(std::move(reporter)),
      m_logic(*this, QFile::encodeName(programDir).toStdString(), std::move(launcher))
{
    createControls();
    connectHandlers();
    m_logic.load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    setWindowTitle(QString::fromLatin1(form::windowCaption));
    setFont(qtFont(form::windowFont));
    setFixedSize(form::toPixels(form::clientWidthTwips, 96),
                 form::toPixels(form::clientHeightTwips, 96));

    for (const form::ControlDef& def : form::controls())
        m_controls[static_cast<size_t>(def.id)] = createControl(def, this);

    const std::vector<Control> order = form::tabOrder();
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(control<QWidget>(order[i - 1]), control<QWidget>(order[i]));
    control<QWidget>(order.front())->setFocus();
}

void Form1::connectHandlers()
{
    form::Form1Logic* const logic = &m_logic;
    const auto button = [this](Control id) { return control<QPushButton>(id); };
    connect(button(Control::Command1), &QPushButton::clicked, this,
            [logic] { logic->calculateClicked(); });
    connect(button(Control::Command2), &QPushButton::clicked, this,
            [logic] { logic->reloadClicked(); });
    connect(button(Control::Command3), &QPushButton::clicked, this,
            [logic] { logic->editSettingsClicked(); });
    auto* combo = control<QComboBox>(Control::Combo1);
    connect(combo, &QComboBox::activated, this, [logic] { logic->objectPicked(); });
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [logic] { logic->selectorEdited(); });
    connect(control<ClickableLabel>(Control::Label14), &ClickableLabel::clicked, this,
            [logic] { logic->referenceClicked(); });
}

template <typename T>
T* Form1::control(Control id) const
{
    return static_cast<T*>(m_controls[static_cast<size_t>(id)]);
}

int Form1::StartDoc(QString& DocName)
{
    // The text goes out in the local 8-bit encoding and comes back through it.
    std::string doc = toLocal(DocName);
    const int result = m_logic.StartDoc(doc);
    DocName = fromLocal(doc);
    return result;
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_logic.shown();
}

std::string Form1::text(Control id) const
{
    QWidget* widget = control<QWidget>(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return toLocal(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return toLocal(combo->currentText());
    return toLocal(static_cast<QLabel*>(widget)->text());
}

void Form1::setText(Control id, const std::string& text)
{
    QWidget* widget = control<QWidget>(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(fromLocal(text));
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->setEditText(fromLocal(text));
    else
        static_cast<QLabel*>(widget)->setText(fromLocal(text));
}

void Form1::clearSelector()
{
    auto* combo = control<QComboBox>(Control::Combo1);
    combo->clear();
    // clear() leaves the text part alone unless an entry was selected.
    combo->setEditText(QString());
}

void Form1::appendEntries(const std::vector<std::string>& entries)
{
    auto* combo = control<QComboBox>(Control::Combo1);
    const int selected = combo->currentIndex();
    const QString typed = combo->currentText();
    QStringList list;
    list.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        list.append(fromLocal(entry));
    combo->addItems(list);
    // Adding to an empty list selects its first entry, which a load must not do.
    if (combo->currentIndex() != selected) {
        combo->setCurrentIndex(selected);
        combo->setEditText(typed);
    }
}

int Form1::selectedIndex() const
{
    return control<QComboBox>(Control::Combo1)->currentIndex();
}

void Form1::setSelectedIndex(int index)
{
    control<QComboBox>(Control::Combo1)->setCurrentIndex(index);
}

void Form1::showMessage(const std::string& message)
{
    if (m_reporter) {
        m_reporter(fromLocal(message));
        return;
    }
    // Window-modal and opened without a nested event loop, so no handler is left waiting.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), fromLocal(message),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

} // namespace vellmore::qt
