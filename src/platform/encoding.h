#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellmore::platform {

// Every text inside the program is UTF-8; these are the conversions at its edges.

// True when the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short.
bool isUtf8(std::string_view bytes);

// The bytes of a text file as UTF-8. Bytes that already are UTF-8 are kept as they are, and so is
// a file that starts with a UTF-8 byte order mark, its stray bytes as U+FFFD; any other file was
// saved by an older editor in the legacy 8-bit code page, which is Windows-1252 here and the
// system's ANSI code page on Windows.
std::string fileTextToUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes that code page leaves undefined stand for the C1
// controls of the same number, as Windows itself reads them.
std::string windows1252ToUtf8(std::string_view bytes);

// Well-formed UTF-8 kept as it is, and each byte that starts no character as U+FFFD; so is each
// character that `refused` names, where it is given.
std::string utf8WithReplacement(std::string_view bytes, bool (*refused)(char32_t) = nullptr);

// The C0 controls, DEL and the C1 controls: a terminal acts on them instead of showing them.
bool isControl(char32_t c);

// What XML 1.0 allows in no document: the C0 controls but tab, LF and CR, and U+FFFE and U+FFFF
// (surrogates are no UTF-8 at all).
bool notXmlChar(char32_t c);

// The columns UTF-8 text takes in a terminal or a fixed-width face, for lining up columns: two
// for a wide (East Asian) letter, none for a combining mark, one for anything else.
size_t displayWidth(std::string_view utf8);

#ifdef _WIN32
// Text in a Windows code page as UTF-8. The UTF-8 code page stands for Windows-1252 here: a file
// that needs this is not UTF-8.
std::string codePageToUtf8(std::string_view bytes, unsigned codePage);

// UTF-8 to and from the UTF-16 of Windows' wide calls.
std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);
#endif

} // namespace vellmore::platform
