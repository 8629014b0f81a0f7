// The behaviour table against the window's handlers, on a view that is plain data: the texts of
// the 29 controls and a selector that behaves like a drop-down combo box.
#include "behaviour/behaviour.h"
#include "form/form1logic.h"

namespace vellmore::behaviour {
namespace {

using form::Control;
using form::Event;

class RecordingDriver final : public Driver, private form::View
{
public:
    RecordingDriver()
    {
        for (const form::ControlDef& def : form::controls())
            m_texts[size_t(def.id)] = def.text;
    }

    // The view the handlers see.
    std::string text(Control c) const override { return m_texts[size_t(c)]; }
    void setText(Control c, const std::string& text) override { m_texts[size_t(c)] = text; }
    void clearSelector() override { setSelectedIndex(-1), m_list.clear(); }
    void appendEntries(const std::vector<std::string>& e) override
    {
        m_list.insert(m_list.end(), e.begin(), e.end());
    }
    int selectedIndex() const override { return m_selected; }
    void setSelectedIndex(int row) override
    {
        m_selected = row;
        m_texts[size_t(Control::Combo1)] = row < 0 ? "" : m_list.at(size_t(row));
    }
    void showMessage(const std::string& message) override { messages.push_back(message); }

    // The user's side.
    Front front() const override { return Recording; }
    void open(const std::string& programDir) override
    {
        m_logic =
            std::make_unique<form::Form1Logic>(static_cast<View&>(*this), programDir, launcher);
        m_logic->load();
        m_logic->shown();
    }
    void type(Control c, const std::string& text) override
    {
        setText(c, text);
        if (c == Control::Combo1)
            m_logic->handle(c, Event::Edited);
    }
    void click(Control c) override { m_logic->handle(c, Event::Clicked); }
    void mouse(Mouse action) override
    {
        using E = Event;
        const std::vector<std::vector<E>> sequences = {
            {E::Pressed, E::ReleasedIn},
            {E::Pressed, E::ReleasedIn, E::DoubleClicked, E::ReleasedIn},
            {E::Pressed, E::ReleasedOut},
            {E::OtherButton},
            {E::Pressed, E::OtherButton, E::ReleasedIn},
        };
        for (const Event event : sequences[size_t(action)])
            m_logic->handle(Control::Label14, event);
    }
    void pick(int index) override
    {
        setSelectedIndex(index);
        m_logic->handle(Control::Combo1, Event::Picked);
    }
    void key(Control c, Key key) override
    {
        // A closed drop-down takes the arrow keys for its next and previous entries; no other
        // key does anything without a toolkit.
        if (c == Control::Combo1 && (key == Key::Down || key == Key::Up))
            pick(m_selected + (key == Key::Down ? 1 : -1));
    }
    void browseList() override {}
    std::vector<std::string> entries() const override { return m_list; }
    std::optional<Control> focus() const override { return std::nullopt; }

private:
    std::array<std::string, form::controlCount> m_texts;
    std::vector<std::string> m_list;
    int m_selected = -1;
    std::unique_ptr<form::Form1Logic> m_logic;
};

} // namespace

std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<RecordingDriver>();
}

} // namespace vellmore::behaviour
