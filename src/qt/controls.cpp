#include "qt/controls.h"

#include "qt/linklabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>

namespace vellmore::qt {
namespace {

// Qt lays out in device-independent pixels, which are 96 to the inch.
constexpr int logicalDpi = 96;

Qt::Alignment toQt(form::Align align)
{
    switch (align) {
    case form::Align::Right:
        return Qt::AlignRight;
    case form::Align::Centre:
        return Qt::AlignHCenter;
    case form::Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

QRect toQt(const form::Rect& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}

// The pixels of a control's width that its caption cannot use: a button's bevel and margins.
int captionChrome(const QWidget& control)
{
    const auto* button = qobject_cast<const QPushButton*>(&control);
    if (!button)
        return control.width() - control.contentsRect().width();
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return control.width() - contents.width();
}

// Grows the control where its fixed caption is wider in the face the system gave it.
void fitCaption(QWidget& control, const QString& caption, form::Align align)
{
    const int needed = control.fontMetrics().horizontalAdvance(caption) + captionChrome(control);
    const int clientWidth = form::toPixels(form::clientWidthTwips, logicalDpi);
    const form::Rect box = {control.x(), control.y(), control.width(), control.height()};
    control.setGeometry(toQt(form::fitCaption(box, align, needed, clientWidth)));
}

} // namespace

QFont qtFont(const form::Font& font)
{
    QFont qfont;
    qfont.setFamilies({QString::fromLatin1(font.family), QStringLiteral("Microsoft Sans Serif"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    qfont.setPointSizeF(font.points);
    qfont.setWeight(static_cast<QFont::Weight>(font.weight));
    qfont.setUnderline(font.underline);
    return qfont;
}

QWidget* createControl(const form::ControlDef& def, QWidget* parent)
{
    const QString text = QString::fromUtf8(def.text);
    QWidget* widget = nullptr;
    switch (def.kind) {
    case form::Kind::Label:
    case form::Kind::Link: {
        auto* label = def.kind == form::Kind::Link ? new LinkLabel(parent) : new QLabel(parent);
        label->setText(text);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(toQt(def.align) | Qt::AlignTop);
        widget = label;
        break;
    }
    case form::Kind::TextBox: {
        auto* edit = new QLineEdit(text, parent);
        edit->setAlignment(toQt(def.align));
        widget = edit;
        break;
    }
    case form::Kind::Button: {
        // Enter presses the button that has the focus, as Space does and as on Windows; with no
        // dialog around it, none is the window's default button, so Enter in a field does nothing.
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(true);
        widget = button;
        break;
    }
    case form::Kind::Selector: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        // Setting editable installs an inline completer and an insert-on-Enter policy; the
        // selector lists only the file's objects, in file order.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(text);
        widget = combo;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(def.name));
    if (def.font != form::FontRole::Window)
        widget->setFont(qtFont(form::fontOf(def.font)));
    if (def.blue) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        widget->setPalette(palette);
    }
    widget->setGeometry(toQt(form::toPixels(def.twips, logicalDpi)));
    if (form::hasFixedCaption(def))
        fitCaption(*widget, text, def.align);
    return widget;
}

} // namespace vellmore::qt
