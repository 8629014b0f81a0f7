// The behaviour table against the window's handlers on a recording view.
#include "behaviour/behaviour.h"
#include "fakeview.h"
#include "form/form1logic.h"

#include <memory>

namespace vellmore::behaviour {
namespace {

using form::Control;
using form::Event;

class RecordingDriver final : public Driver
{
public:
    Front front() const override { return Recording; }

    void open(const std::string& programDir) override
    {
        m_logic = std::make_unique<form::Form1Logic>(m_view, programDir, launcher);
        m_logic->load();
        m_logic->shown();
        collect();
    }
    void type(Control control, const std::string& text) override
    {
        m_view.texts[form::FakeView::index(control)] = text;
        if (control == Control::Combo1)
            m_logic->handle(control, Event::Edited);
        collect();
    }
    void click(Control control) override
    {
        if (control == Control::Label14)
            mouse(control, Mouse::Click);
        else
            send(control, {Event::Clicked});
    }
    void mouse(Control control, Mouse action) override
    {
        switch (action) {
        case Mouse::Click:
            return send(control, {Event::Pressed, Event::ReleasedIn});
        case Mouse::DoubleClick:
            return send(control, {Event::Pressed, Event::ReleasedIn, Event::DoubleClicked,
                                  Event::ReleasedIn});
        case Mouse::DragOff:
            return send(control, {Event::Pressed, Event::ReleasedOut});
        case Mouse::RightClick:
            return send(control, {Event::OtherButton});
        case Mouse::RightDuringClick:
            return send(control, {Event::Pressed, Event::OtherButton, Event::ReleasedIn});
        }
    }
    void pick(int index) override
    {
        m_view.setSelectedIndex(index);
        send(Control::Combo1, {Event::Picked});
    }
    void key(Control control, Key key) override
    {
        // A closed drop-down takes the arrow keys for its next and previous entries; no other key
        // does anything here.
        if (control == Control::Combo1 && (key == Key::Down || key == Key::Up))
            pick(m_view.selected + (key == Key::Down ? 1 : -1));
    }
    void browseList() override {}

    std::string text(Control control) const override { return m_view.text(control); }
    std::vector<std::string> entries() const override { return m_view.entries; }
    int selectedIndex() const override { return m_view.selected; }
    std::optional<Control> focus() const override { return std::nullopt; }

private:
    void send(Control control, std::initializer_list<Event> events)
    {
        for (const Event event : events)
            m_logic->handle(control, event);
        collect();
    }
    void collect() { messages = m_view.messages; }

    form::FakeView m_view;
    std::unique_ptr<form::Form1Logic> m_logic;
};

} // namespace

std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<RecordingDriver>();
}

} // namespace vellmore::behaviour
