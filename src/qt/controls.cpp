#include "qt/controls.h"

#include "qt/linklabel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStyleOptionButton>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

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

// At least the width a caption needs, found without laying it out: the letters' own widths
// summed, with room to spare for kerning, which moves letters by far less. Laying text out is
// what costs at start, and most captions fit their boxes with room to spare.
int boundWidth(const QString& caption, const QFont& font)
{
    const QFontMetricsF metrics(font);
    qreal sum = 0;
    for (const QChar c : caption)
        sum += metrics.horizontalAdvance(c);
    return static_cast<int>(std::ceil(sum * 1.05 + 2));
}

// Grows the control where its fixed caption is wider in the face the system gave it than its box,
// and gives it a smaller size of that face where growing is not enough. What a caption needs is
// what Qt's own size hint measures: the text laid out in the face, and for a button the style's
// margins round it. Sizes are in quarter points.
void fitCaption(QWidget& control, form::Align align, const QString& caption)
{
    const QFont face = control.font();
    const int size = qRound(face.pointSizeF() * 4);
    const auto sized = [&face](int quarters) {
        QFont font = face;
        font.setPointSizeF(quarters / 4.0);
        return font;
    };
    const auto* label = qobject_cast<const QLabel*>(&control);
    const auto extentAt = [&](int quarters) {
        const QFont font = quarters == size ? face : sized(quarters);
        const QFontMetrics metrics(font);
        // A button needs its caption and the style's margins round it.
        const auto chrome = [&control, &caption, label](QSize text) {
            if (label)
                return text;
            QStyleOptionButton option;
            option.initFrom(&control);
            option.text = caption;
            option.features = QStyleOptionButton::AutoDefaultButton;
            return control.style()->sizeFromContents(QStyle::CT_PushButton, &option, text,
                                                     &control);
        };
        const QSize bound = chrome({boundWidth(caption, font), metrics.height()});
        if (bound.width() <= control.width() && bound.height() <= control.height())
            return form::Extent{bound.width(), bound.height()};
        const int flags = label ? label->alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter)
                                : int(Qt::TextShowMnemonic);
        const QSize text =
            chrome(metrics.boundingRect(QRect(0, 0, 2000, 2000), flags, caption).size());
        return form::Extent{text.width(), text.height()};
    };
    const form::Rect box = {control.x(), control.y(), control.width(), control.height()};
    const form::CaptionFit fit = form::fitCaptionFace(
        box, align, form::toPixels(form::clientWidthTwips, logicalDpi), size, extentAt);
    if (fit.size != size)
        control.setFont(sized(fit.size)); // the face the caption fits in
    control.setGeometry(toQt(fit.box));
}

// The selector: an editable drop-down that lists only the file's objects, in file order, with no
// completer and no entry added on Enter, its text part and its list in `face`.
class Selector final : public QComboBox
{
public:
    Selector(QWidget* parent, const QFont& face) : QComboBox(parent), m_face(face)
    {
        // setEditable would make a completer over the list only for it to be taken away; a text
        // part that arrives with a completer of its own, an empty one, keeps it from making one.
        auto* edit = new QLineEdit(this);
        edit->setPalette(palette());
        edit->setFont(face);
        edit->setCompleter(new QCompleter(edit));
        setLineEdit(edit);
        edit->setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
    }

    // The list gets its face when it first opens: a combo box makes its list as soon as its own
    // font changes, which at start would cost more than all the other controls together.
    void showPopup() override
    {
        if (view()->font() != m_face)
            view()->setFont(m_face);
        QComboBox::showPopup();
    }

private:
    QFont m_face;
};

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

QWidget* createControl(const form::ControlDef& def, QWidget* parent, const QFont& face)
{
    // Each widget gets its font, format and alignment before its text, so the text is laid out
    // once, in its own face.
    const QString text = QString::fromUtf8(def.text);
    QWidget* widget = nullptr;
    switch (def.kind) {
    case form::Kind::Label:
    case form::Kind::Link:
        widget = def.kind == form::Kind::Link ? new LinkLabel(parent) : new QLabel(parent);
        break;
    case form::Kind::TextBox:
        widget = new QLineEdit(parent);
        break;
    case form::Kind::Button:
        widget = new QPushButton(parent);
        break;
    case form::Kind::Selector:
        widget = new Selector(parent, face);
        break;
    }
    widget->setObjectName(QString::fromLatin1(def.name));
    if (def.font != form::FontRole::Window && def.kind != form::Kind::Selector)
        widget->setFont(face);
    if (def.blue) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        widget->setPalette(palette);
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(toQt(def.align) | Qt::AlignTop);
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setAlignment(toQt(def.align));
        edit->setText(text);
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        // Enter presses the button that has the focus, as Space does and as on Windows; with no
        // dialog around it, none is the window's default button, so Enter in a field does nothing.
        button->setAutoDefault(true);
        button->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(text);
    }
    widget->setGeometry(toQt(form::toPixels(form::placeOf(def), logicalDpi)));
    if (form::hasFixedCaption(def))
        fitCaption(*widget, def.align, text);
    return widget;
}

} // namespace vellmore::qt
