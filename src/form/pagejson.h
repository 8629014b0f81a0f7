#pragma once

#include <string>
#include <vector>

// The window's table and the selector's entries as JSON, for a front end in another language
// (the web page), which builds its controls from the table as the desktop ones do.
namespace vellmore::form {

// An array of the 29 controls in the table's order, each as {"id": the Control's number,
// "name", "kind" ("Label", "Link", "TextBox", "Button", "Selector"), "text", "tabIndex",
// "tabOrder" (its place among the focusable ones from 0, or null), "align" ("Left", "Right",
// "Centre"), "blue", "names" (the number of the control it labels, or null), "twips" {"left",
// "top", "width", "height"}}.
std::string controlsJson();

// The entries as a JSON array of strings.
std::string entriesJson(const std::vector<std::string>& entries);

} // namespace vellmore::form
