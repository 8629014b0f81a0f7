#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellmore::platform {

// Reads a settings file as a sequence of comma- and line-separated fields.
//
// File-format rules: blanks and tabs before a field are skipped; an unquoted field ends at a
// comma or a line end (CR LF, LF or CR) and loses its trailing blanks and tabs, and a quote
// inside it is an ordinary character; a field that begins with a double quote runs to the next
// quote, commas and line ends included (or to the end of the file), and whatever follows the
// closing quote up to the next comma or line end is dropped. A UTF-8 byte order mark at the very
// start is skipped. Asking for a field when only blanks or line ends remain gives an empty field.
class FieldReader
{
public:
    explicit FieldReader(std::string_view bytes);

    bool atEnd() const { return m_pos >= m_bytes.size(); }
    std::string next();

private:
    void skipSeparator();

    std::string_view m_bytes;
    size_t m_pos = 0;
};

} // namespace vellmore::platform
