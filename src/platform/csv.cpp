#include "platform/csv.h"

#include "platform/doublechars.h"

#include <string_view>

namespace vellmore::platform {

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csvTextField(const std::string& text)
{
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    return csvField(formula ? "'" + text : text);
}

std::string csvNumber(const std::optional<double>& value)
{
    if (!value)
        return {};
    char buf[64];
    const auto res = toChars(buf, buf + sizeof buf, *value);
    return std::string(buf, res.ptr);
}

std::string csvLine(const std::vector<std::string>& fields)
{
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + fields[i];
    return out + "\r\n";
}

} // namespace vellmore::platform
