#pragma once

#include "form/form1logic.h"

#include <QLabel>

#include <functional>

namespace vellmore::qt {

// A label that acts as a link: the pointing hand, never the focus, and every mouse button's
// press, release and double-click on it reported as it happened. What makes a click is decided
// by the window's handlers. A screen reader meets it as a link whose one action opens it.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    using Handler = std::function<void(form::Event)>;

    explicit LinkLabel(QWidget* parent = nullptr);
    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void report(form::Event event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Handler m_handler;
};

} // namespace vellmore::qt
