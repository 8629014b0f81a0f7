#include "qt/linklabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace vellmore::qt {

using form::Event;

namespace {

// What a screen reader is told of the link: the role of a link, its address as its name, and
// one action, the press, which opens the page as a click does.
class LinkAccessible final : public QAccessibleWidget
{
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? link()->text() : own;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            link()->report(Event::Activated);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* linkAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    QAccessible::installFactory(linkAccessible); // a factory installed twice is kept once
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    report(event->button() == Qt::LeftButton ? Event::Pressed : Event::OtherButton);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    report(inside ? Event::ReleasedIn : Event::ReleasedOut);
}

void LinkLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // QWidget would take the double-click for a second press.
    report(event->button() == Qt::LeftButton ? Event::DoubleClicked : Event::OtherButton);
}

void LinkLabel::report(Event event)
{
    if (m_handler)
        m_handler(event);
}

} // namespace vellmore::qt
