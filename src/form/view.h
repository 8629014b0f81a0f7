#pragma once

#include "form/layout.h"

#include <string>
#include <vector>

namespace vellmore::form {

// What the window's handlers need of the toolkit that draws it. Texts are UTF-8, as the rest of
// the program holds them; the front end converts at its edge. None of these calls may raise a
// selector event of its own.
class View
{
public:
    virtual ~View() = default;

    // The text of a text box or label, or the text part of the selector.
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, const std::string& text) = 0;

    // Removes every list entry and empties the text part; no entry is selected afterwards.
    virtual void clearSelector() = 0;
    // Adds entries at the end of the list, in order, leaving the selection as it was.
    virtual void appendEntries(const std::vector<std::string>& entries) = 0;
    // The selected list entry from 0, or -1 while none is.
    virtual int selectedIndex() const = 0;
    virtual void setSelectedIndex(int index) = 0;

    // Shows a message to the user and returns at once, before it is read: the handler that
    // reported it runs to its end first.
    virtual void showMessage(const std::string& message) = 0;
};

} // namespace vellmore::form
