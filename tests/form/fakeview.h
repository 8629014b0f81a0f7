#pragma once

#include "form/view.h"

#include <array>
#include <string>
#include <vector>

namespace vellmore::form {

// A window held as plain data: the texts of the 29 controls (design-time texts to start with),
// a selector that behaves like a drop-down combo box, and the messages it was asked to show.
struct FakeView : View
{
    FakeView()
    {
        for (const ControlDef& control : controls())
            texts[index(control.id)] = control.text;
    }
    static size_t index(Control control) { return static_cast<size_t>(control); }

    std::string text(Control control) const override { return texts[index(control)]; }
    void setText(Control control, const std::string& text) override
    {
        texts[index(control)] = text;
    }
    void clearSelector() override { setSelectedIndex(-1), entries.clear(); }
    void appendEntries(const std::vector<std::string>& added) override
    {
        entries.insert(entries.end(), added.begin(), added.end());
    }
    int selectedIndex() const override { return selected; }
    void setSelectedIndex(int row) override
    {
        selected = row;
        texts[index(Control::Combo1)] = row < 0 ? "" : entries.at(static_cast<size_t>(row));
    }
    void showMessage(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> results() const
    {
        std::vector<std::string> shown;
        for (const Control label : resultLabels)
            shown.push_back(texts[index(label)]);
        return shown;
    }

    std::array<std::string, controlCount> texts;
    std::vector<std::string> entries;
    int selected = -1;
    std::vector<std::string> messages;
};

} // namespace vellmore::form
