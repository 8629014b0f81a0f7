#include "qt/linklabel.h"

#include <QMouseEvent>

namespace vellmore::qt {

using form::Event;

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
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

void LinkLabel::report(form::Event event)
{
    if (m_handler)
        m_handler(event);
}

} // namespace vellmore::qt
