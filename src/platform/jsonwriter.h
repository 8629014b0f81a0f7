#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmore::platform {

// A JSON document written as it goes, with no tree of values in between, laid out as the table
// program's documents always have been: two spaces a level, `"key": value`, each element on a
// line of its own, empty objects and arrays as {} and [], and a line end after the document.
class JsonWriter
{
public:
    JsonWriter() = default; // the document is kept whole, for finish() to return
    explicit JsonWriter(std::ostream& out) : m_stream(&out) {} // written to `out` as it goes

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    JsonWriter& key(std::string_view name); // the program's own names: plain ASCII, unescaped

    void value(double number); // null where it is not finite
    void value(bool truth);
    // A figure rounded to `decimals` places, given as the whole number of them (under 1e15):
    // written as value() writes that figure, without working out its digits again.
    void fixed(double units, int decimals);
    void value(const std::optional<double>& number);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(const std::string& text) { value(std::string_view(text)); }
    void value(const std::optional<std::string>& text);
    void null();

    // The line end after the document; the document, where it was kept.
    std::string finish();

private:
    void element();
    void open(char bracket);
    void close(char bracket);
    void indent();
    char* room(size_t count); // where `count` more bytes go
    void makeRoom(size_t count);
    void put(std::string_view text);
    void put(char c);
    void quoted(std::string_view text);

    std::ostream* m_stream = nullptr;
    std::string m_out;         // the document so far, or its piece not yet written to the stream
    size_t m_used = 0;         // bytes of m_out in use; the rest is room to write into
    std::vector<int> m_counts; // elements so far in each open object or array
    bool m_afterKey = false;
};

// A number as the documents write it: the shortest digits that read back as the same double,
// in fixed notation from 1e-4 up to 1e15 with ".0" on a whole number ("100.0", "0.0125"), else
// with an exponent ("1e-05", "1.5e+20").
std::string jsonNumber(double number);

// What fixed() writes, for the same figure.
std::string jsonFixed(double units, int decimals);

// A text as a JSON string, quoted; quotes, backslashes and control characters escaped, any other
// character as it is. A byte that starts no UTF-8 character becomes U+FFFD.
std::string jsonString(std::string_view text);

} // namespace vellmore::platform
