#include "platform/encoding.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vellmore::platform {
namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence that starts at `at`, with its code point in `c`;
// 0 when none starts there.
size_t sequenceAt(std::string_view bytes, size_t at, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - at < length)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[at + k]);
        if (!isContinuation(byte))
            return 0;
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

// Characters that take no column of their own (combining marks, joiners, variation selectors)
// and those that take two (East Asian wide and full-width letters, most emoji), as a terminal
// draws them.
size_t columnsOf(char32_t c)
{
    const auto in = [c](char32_t low, char32_t high) { return c >= low && c <= high; };
    if (in(0x0300, 0x036F) || in(0x1AB0, 0x1AFF) || in(0x1DC0, 0x1DFF) || in(0x200B, 0x200F) ||
        in(0x20D0, 0x20FF) || in(0xFE00, 0xFE0F) || in(0xFE20, 0xFE2F))
        return 0;
    if (in(0x1100, 0x115F) || in(0x2E80, 0x303E) || in(0x3041, 0x33FF) || in(0x3400, 0x4DBF) ||
        in(0x4E00, 0x9FFF) || in(0xA000, 0xA4CF) || in(0xAC00, 0xD7A3) || in(0xF900, 0xFAFF) ||
        in(0xFE30, 0xFE4F) || in(0xFF00, 0xFF60) || in(0xFFE0, 0xFFE6) || in(0x1F300, 0x1F64F) ||
        in(0x1F900, 0x1F9FF) || in(0x20000, 0x3FFFD))
        return 2;
    return 1;
}

} // namespace

bool isUtf8(std::string_view bytes)
{
    char32_t c = 0;
    for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
        length = sequenceAt(bytes, i, c);
        if (length == 0)
            return false;
    }
    return true;
}

std::string utf8WithReplacement(std::string_view bytes, bool (*refused)(char32_t))
{
    std::string out;
    out.reserve(bytes.size());
    char32_t c = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = sequenceAt(bytes, i, c);
        if (length == 0 || (refused && refused(c))) {
            out += "\xEF\xBF\xBD"; // U+FFFD stands for the byte or the character
            i += length ? length : 1;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

bool notXmlChar(char32_t c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF;
}

std::string windows1252ToUtf8(std::string_view bytes)
{
    // 0x80 to 0x9F; the rest of the upper half is Latin-1, the same numbers as Unicode.
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte);
    }
    return out;
}

std::string fileTextToUtf8(std::string_view bytes)
{
    if (isUtf8(bytes))
        return std::string(bytes);
    // A byte order mark says UTF-8 whatever follows: a stray byte (an echo from a console in
    // another code page) stands alone as U+FFFD, and every key around it still reads.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return utf8WithReplacement(bytes);
#ifdef _WIN32
    return codePageToUtf8(bytes, GetACP());
#else
    return windows1252ToUtf8(bytes);
#endif
}

size_t displayWidth(std::string_view utf8)
{
    size_t width = 0;
    char32_t c = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t length = sequenceAt(utf8, i, c);
        width += length ? columnsOf(c) : 1;
        i += length ? length : 1;
    }
    return width;
}

#ifdef _WIN32
std::string codePageToUtf8(std::string_view bytes, unsigned codePage)
{
    // With "Use Unicode UTF-8" the ANSI code page is UTF-8 itself, which these bytes are not; the
    // files such a machine keeps from older editors are Windows-1252.
    if (codePage == CP_UTF8)
        return windows1252ToUtf8(bytes);
    // A code page may take two bytes to a letter (932, 936, 949, 950).
    std::wstring wide;
    if (!bytes.empty()) {
        const int size = static_cast<int>(bytes.size());
        const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
        wide.resize(static_cast<size_t>(n));
        MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
    }
    return fromWide(wide);
}

std::wstring toWide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

std::string fromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}
#endif

} // namespace vellmore::platform
