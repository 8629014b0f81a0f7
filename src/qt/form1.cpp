#include "qt/form1.h"

#include "qt/controls.h"
#include "qt/desktoplauncher.h"
#include "qt/linklabel.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace vellmore::qt {
namespace {

using form::Control;
using form::Event;

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
    setWindowTitle(QString::fromUtf8(form::windowCaption));
    // Each role's font is made once and shared, so its face is looked up once.
    const std::array<QFont, 3> fonts = {qtFont(form::windowFont), qtFont(form::linkFont),
                                        qtFont(form::fieldFont)};
    setFont(fonts[size_t(form::FontRole::Window)]);
    setFixedSize(form::toPixels(form::clientWidthTwips, 96),
                 form::toPixels(form::clientHeightTwips, 96));

    for (const Control id : form::creationOrder())
        m_controls[static_cast<size_t>(id)] = createControl(
            form::definition(id), this, fonts[static_cast<size_t>(form::definition(id).font)]);

    // Tab follows the order the widgets were made in, which is the tab order.
    control<QWidget>(form::tabOrder().front())->setFocus();

    // A screen reader names each field after its label, and reads a result with its caption.
    for (const form::ControlDef& def : form::controls()) {
        if (def.names)
            control<QLabel>(def.id)->setBuddy(control<QWidget>(*def.names));
    }
    for (const Control id : form::resultLabels)
        nameResult(id);
}

void Form1::nameResult(Control id)
{
    const QString caption = control<QLabel>(*form::labelOf(id))->text();
    control<QLabel>(id)->setAccessibleName(caption + ' ' + control<QLabel>(id)->text());
}

void Form1::connectHandlers()
{
    // Each front end says what happened; the handlers decide what it means.
    for (const form::ControlDef& def : form::controls()) {
        const Control id = def.id;
        const auto forward = [this, id](Event event) { m_logic.handle(id, event); };
        switch (def.kind) {
        case form::Kind::Button:
            connect(control<QPushButton>(id), &QPushButton::clicked, this,
                    [forward] { forward(Event::Clicked); });
            break;
        case form::Kind::Selector: {
            auto* combo = control<QComboBox>(id);
            connect(combo, &QComboBox::activated, this, [forward] { forward(Event::Picked); });
            connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                    [forward] { forward(Event::Edited); });
            break;
        }
        case form::Kind::Link:
            control<LinkLabel>(id)->setHandler(forward);
            break;
        case form::Kind::Label:
        case form::Kind::TextBox:
            break;
        }
    }
}

template <typename T>
T* Form1::control(Control id) const
{
    return static_cast<T*>(m_controls[static_cast<size_t>(id)]);
}

void Form1::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (m_painted)
        return;
    // Messages raised at start-up open over the painted window, once it is on screen.
    m_painted = true;
    QMetaObject::invokeMethod(
        this, [this] { m_logic.shown(); }, Qt::QueuedConnection);
}

std::string Form1::text(Control id) const
{
    QWidget* widget = control<QWidget>(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdString();
    return static_cast<QLabel*>(widget)->text().toStdString();
}

void Form1::setText(Control id, const std::string& text)
{
    QWidget* widget = control<QWidget>(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(fromUtf8(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(fromUtf8(text));
    } else {
        static_cast<QLabel*>(widget)->setText(fromUtf8(text));
        if (form::labelOf(id))
            nameResult(id); // "Exposure: 0.07213 Sec"
    }
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
        list.append(fromUtf8(entry));
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
        m_reporter(fromUtf8(message));
        return;
    }
    // open() makes it window-modal without a nested event loop, so the handler runs on to its end.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), fromUtf8(message),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace vellmore::qt
