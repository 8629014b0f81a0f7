#include "qt/controls.h"

#include "qt/linklabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

// Grows the control where its fixed caption is wider in the face the system gave it than its box,
// and gives it a smaller size of that face where growing is not enough. What a caption needs is
// what Qt says the control needs for it; sizes are in quarter points.
void fitCaption(QWidget& control, form::Align align)
{
    const QFont face = control.font();
    const int size = qRound(face.pointSizeF() * 4);
    const auto extentAt = [&](int quarters) {
        if (quarters != size) {
            QFont smaller = face;
            smaller.setPointSizeF(quarters / 4.0);
            control.setFont(smaller);
        }
        const QSize needed = control.sizeHint();
        return form::Extent{needed.width(), needed.height()};
    };
    const form::Rect box = {control.x(), control.y(), control.width(), control.height()};
    const form::CaptionFit fit = form::fitCaptionFace(
        box, align, form::toPixels(form::clientWidthTwips, logicalDpi), size, extentAt);
    if (fit.size != size)
        extentAt(fit.size); // the face the caption fits in
    control.setGeometry(toQt(fit.box));
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
    widget->setGeometry(toQt(form::toPixels(form::placeOf(def), logicalDpi)));
    if (form::hasFixedCaption(def))
        fitCaption(*widget, def.align);
    return widget;
}

} // namespace vellmore::qt
