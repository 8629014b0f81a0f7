#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vellmore::platform {

// A cell as RFC 4180 writes it: in double quotes, with each quote doubled, where it holds a
// comma, a quote, a CR or an LF; as it stands otherwise.
std::string csvField(const std::string& text);

// A text cell a spreadsheet must take as text: one that begins as a formula would (=, +, -, @,
// a tab or a CR) gets a leading apostrophe first.
std::string csvTextField(const std::string& text);

// The shortest text that reads back as the same double, whatever the locale; "" for none.
std::string csvNumber(const std::optional<double>& value);

// The cells joined by commas, with the CR LF that ends a record.
std::string csvLine(const std::vector<std::string>& fields);

} // namespace vellmore::platform
