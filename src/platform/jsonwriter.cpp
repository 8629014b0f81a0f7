#include "platform/jsonwriter.h"

#include "platform/doublechars.h"
#include "platform/encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <string>

namespace vellmore::platform {
namespace {

// Writes the number into `out`, which has room for 32 bytes; returns the end.
char* writeNumber(char* out, double number)
{
    const auto put = [&out](std::string_view text) {
        std::memcpy(out, text.data(), text.size());
        out += text.size();
    };
    if (!std::isfinite(number)) {
        put("null");
        return out;
    }
    if (std::signbit(number)) {
        *out++ = '-';
        number = -number;
    }
    if (number == 0) {
        put("0.0");
        return out;
    }
    // The shortest digits, written d.ddde±x; the decimal point falls after the first n of them.
    char text[32];
    const char* end = toChars(text, text + sizeof text, number, std::chars_format::scientific).ptr;
    const char* e = std::find(static_cast<const char*>(text), end, 'e');
    int exponent = 0;
    for (const char* c = e + 2; c != end; ++c)
        exponent = exponent * 10 + (*c - '0');
    if (e[1] == '-')
        exponent = -exponent;
    char digits[24];
    int k = 0;
    for (const char* c = text; c != e; ++c) {
        if (*c != '.')
            digits[k++] = *c;
    }
    const std::string_view all(digits, static_cast<size_t>(k));
    const int n = exponent + 1;
    constexpr int lowest = -4, highest = 15; // fixed notation for 1e-4 <= |number| < 1e15
    if (k <= n && n <= highest) {
        put(all);
        out = std::fill_n(out, n - k, '0');
        put(".0");
    } else if (0 < n && n <= highest) {
        put(all.substr(0, static_cast<size_t>(n)));
        *out++ = '.';
        put(all.substr(static_cast<size_t>(n)));
    } else if (lowest < n && n <= 0) {
        put("0.");
        out = std::fill_n(out, -n, '0');
        put(all);
    } else {
        *out++ = digits[0];
        if (k > 1) {
            *out++ = '.';
            put(all.substr(1));
        }
        put(exponent < 0 ? "e-" : "e+");
        const int size = std::abs(exponent);
        if (size < 10)
            *out++ = '0';
        out = std::to_chars(out, out + 4, size).ptr;
    }
    return out;
}

// Writes units / 10^decimals as writeNumber writes that double into `out`, which has room for
// 32 bytes: its digits are the shortest that read back (a decimal of at most 15 digits is),
// trailing zeros dropped, ".0" kept on a whole number.
char* writeFixed(char* out, double units, int decimals)
{
    if (std::signbit(units))
        *out++ = '-';
    if (units == 0)
        return std::copy_n("0.0", 3, out);
    char digits[24];
    char* end =
        std::to_chars(digits, digits + sizeof digits, static_cast<long long>(std::fabs(units))).ptr;
    int count = static_cast<int>(end - digits);
    int places = decimals;
    while (places > 0 && digits[count - 1] == '0') {
        --count;
        --places;
    }
    const int whole = count - places;
    if (whole <= 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -whole, '0');
        return std::copy(digits, digits + count, out);
    }
    out = std::copy(digits, digits + whole, out);
    *out++ = '.';
    if (places == 0)
        *out++ = '0';
    return std::copy(digits + whole, digits + count, out);
}

bool needsNoEscape(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || c == '"' || c == '\\')
            return false;
    }
    return true;
}

void appendString(std::string& out, std::string_view text)
{
    // Keys, times and the sky's names: printable ASCII, written as they are.
    if (needsNoEscape(text)) {
        out += '"';
        out.append(text);
        out += '"';
        return;
    }
    if (!platform::isUtf8(text)) {
        appendString(out, platform::utf8WithReplacement(text));
        return;
    }
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

std::string jsonNumber(double number)
{
    char text[32];
    return std::string(text, writeNumber(text, number));
}

std::string jsonFixed(double units, int decimals)
{
    char text[32];
    return std::string(text, writeFixed(text, units, decimals));
}

std::string jsonString(std::string_view text)
{
    std::string out;
    appendString(out, text);
    return out;
}

void JsonWriter::makeRoom(size_t count)
{
    // A stream gets the document a piece at a time, so a night of thousands of rows is never
    // held whole.
    constexpr size_t piece = 1 << 16;
    if (m_stream && m_used > 0) {
        m_stream->write(m_out.data(), static_cast<std::streamsize>(m_used));
        m_used = 0;
    }
    if (m_out.size() - m_used < count)
        m_out.resize(std::max({piece, 2 * m_out.size(), m_used + count}));
}

char* JsonWriter::room(size_t count)
{
    if (m_out.size() - m_used < count)
        makeRoom(count);
    return &m_out[m_used];
}

void JsonWriter::put(std::string_view text)
{
    std::memcpy(room(text.size()), text.data(), text.size());
    m_used += text.size();
}

void JsonWriter::put(char c)
{
    *room(1) = c;
    ++m_used;
}

void JsonWriter::indent()
{
    const size_t width = 2 * m_counts.size();
    std::memset(room(width), ' ', width);
    m_used += width;
}

// Before each element of an object or array: the comma after the one before, a new line and
// the element's indent. A value that follows its key has its place already.
void JsonWriter::element()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_counts.empty())
        return;
    put(m_counts.back()++ > 0 ? ",\n" : "\n");
    indent();
}

void JsonWriter::open(char bracket)
{
    element();
    put(bracket);
    m_counts.push_back(0);
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_counts.back() == 0;
    m_counts.pop_back();
    if (!empty) {
        put('\n');
        indent();
    }
    put(bracket);
}

void JsonWriter::beginObject()
{
    open('{');
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray()
{
    open('[');
}

void JsonWriter::endArray()
{
    close(']');
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    element();
    char* at = room(name.size() + 4);
    *at++ = '"';
    at = std::copy(name.begin(), name.end(), at);
    std::copy_n("\": ", 3, at);
    m_used += name.size() + 4;
    m_afterKey = true;
    return *this;
}

void JsonWriter::value(double number)
{
    element();
    m_used = static_cast<size_t>(writeNumber(room(32), number) - m_out.data());
}

void JsonWriter::fixed(double units, int decimals)
{
    element();
    m_used = static_cast<size_t>(writeFixed(room(32), units, decimals) - m_out.data());
}

void JsonWriter::value(bool truth)
{
    element();
    put(truth ? "true" : "false");
}

void JsonWriter::value(const std::optional<double>& number)
{
    if (number)
        value(*number);
    else
        null();
}

void JsonWriter::value(std::string_view text)
{
    element();
    quoted(text);
}

void JsonWriter::quoted(std::string_view text)
{
    // Keys, times and the sky's names: printable ASCII, written as they are.
    if (needsNoEscape(text)) {
        put('"');
        put(text);
        put('"');
    } else {
        put(jsonString(text));
    }
}

void JsonWriter::value(const std::optional<std::string>& text)
{
    if (text)
        value(std::string_view(*text));
    else
        null();
}

void JsonWriter::null()
{
    element();
    put("null");
}

std::string JsonWriter::finish()
{
    put('\n');
    m_out.resize(m_used);
    if (m_stream) {
        m_stream->write(m_out.data(), static_cast<std::streamsize>(m_out.size()));
        m_out.clear();
    }
    m_used = 0;
    return std::move(m_out);
}

} // namespace vellmore::platform
