#include "platform/doublechars.h"

#include <fast_float/fast_float.h>
#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vellmore::platform {
namespace {

// The shortest digits that read back as a finite, non-zero magnitude: D1.D2... x 10^exponent.
struct Shortest
{
    char digits[24];
    int count = 0;
    int exponent = 0;
};

// Taken from {fmt}'s shortest text, fixed ("0.00125", "1200") or scientific ("1.25e+20").
Shortest shortest(double magnitude)
{
    char text[32];
    const char* end = fmt::format_to(text, FMT_COMPILE("{}"), magnitude);
    Shortest s;
    int seen = 0, point = -1, firstNonZero = -1, power = 0;
    for (const char* c = text; c != end; ++c) {
        if (*c == '.') {
            point = seen;
        } else if (*c == 'e') {
            for (const char* d = c + 2; d != end; ++d)
                power = power * 10 + (*d - '0');
            power = c[1] == '-' ? -power : power;
            break;
        } else {
            if (firstNonZero < 0 && *c != '0')
                firstNonZero = seen;
            if (firstNonZero >= 0)
                s.digits[s.count++] = *c;
            ++seen;
        }
    }
    while (s.count > 1 && s.digits[s.count - 1] == '0')
        --s.count;
    s.exponent = (point < 0 ? seen : point) - firstNonZero - 1 + power;
    return s;
}

char* putScientific(char* out, const Shortest& s)
{
    *out++ = s.digits[0];
    if (s.count > 1) {
        *out++ = '.';
        out = std::copy(s.digits + 1, s.digits + s.count, out);
    }
    *out++ = 'e';
    *out++ = s.exponent < 0 ? '-' : '+';
    const int size = std::abs(s.exponent);
    if (size < 10)
        *out++ = '0';
    return fmt::format_to(out, FMT_COMPILE("{}"), size);
}

// A whole number past the shortest digits is written exactly, as it is the closest of the texts
// that are as short.
char* putFixed(char* out, const Shortest& s, double magnitude)
{
    if (s.exponent >= s.count)
        return fmt::format_to(out, FMT_COMPILE("{:.0f}"), magnitude);
    if (s.exponent < 0) {
        out = std::copy_n("0.", 2, out);
        out = std::fill_n(out, -s.exponent - 1, '0');
        return std::copy(s.digits, s.digits + s.count, out);
    }
    out = std::copy(s.digits, s.digits + s.exponent + 1, out);
    if (s.exponent + 1 < s.count) {
        *out++ = '.';
        out = std::copy(s.digits + s.exponent + 1, s.digits + s.count, out);
    }
    return out;
}

int scientificSize(const Shortest& s)
{
    const int size = std::abs(s.exponent);
    return s.count + (s.count > 1 ? 1 : 0) + 2 + (size >= 100 ? 3 : 2);
}

int fixedSize(const Shortest& s)
{
    if (s.exponent >= s.count - 1)
        return s.exponent + 1;
    return s.exponent >= 0 ? s.count + 1 : s.count + 1 - s.exponent;
}

std::to_chars_result copied(char* first, char* last, const char* text, const char* end)
{
    if (end - text > last - first)
        return {last, std::errc::value_too_large};
    return {std::copy(text, end, first), std::errc()};
}

// "inf", "-inf", "nan", "-nan"; false for a finite value.
bool putNonFinite(char*& out, double value)
{
    if (std::isfinite(value))
        return false;
    if (std::signbit(value))
        *out++ = '-';
    out = std::copy_n(std::isnan(value) ? "nan" : "inf", 3, out);
    return true;
}

// How toChars(value) and toChars(value, format) choose the form; general is the shorter.
std::to_chars_result writeShortest(char* first, char* last, double value, std::chars_format format)
{
    char text[400];
    char* out = text;
    if (!putNonFinite(out, value)) {
        if (std::signbit(value))
            *out++ = '-';
        const double magnitude = std::fabs(value);
        if (magnitude == 0) {
            out = format == std::chars_format::scientific ? std::copy_n("0e+00", 5, out)
                                                          : std::copy_n("0", 1, out);
        } else {
            const Shortest s = shortest(magnitude);
            const bool fixed =
                format == std::chars_format::fixed ||
                (format != std::chars_format::scientific && fixedSize(s) <= scientificSize(s));
            out = fixed ? putFixed(out, s, magnitude) : putScientific(out, s);
        }
    }
    return copied(first, last, text, out);
}

} // namespace

std::to_chars_result toChars(char* first, char* last, double value)
{
    return writeShortest(first, last, value, std::chars_format::general);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format)
{
    return writeShortest(first, last, value, format);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision)
{
    char text[8];
    char* out = text;
    if (putNonFinite(out, value))
        return copied(first, last, text, out);
    if (precision < 0)
        precision = 6;
    const auto room = static_cast<size_t>(last - first);
    fmt::format_to_n_result<char*> written{first, 0};
    switch (format) {
    case std::chars_format::fixed:
        written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}f}"), value, precision);
        break;
    case std::chars_format::scientific:
        written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}e}"), value, precision);
        break;
    default:
        written = fmt::format_to_n(first, room, FMT_COMPILE("{:.{}g}"), value, precision);
    }
    if (written.size > room)
        return {last, std::errc::value_too_large};
    return {written.out, std::errc()};
}

std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format)
{
    fast_float::chars_format how = fast_float::chars_format::general;
    if (format == std::chars_format::fixed)
        how = fast_float::chars_format::fixed;
    else if (format == std::chars_format::scientific)
        how = fast_float::chars_format::scientific;
    double read = 0;
    const fast_float::from_chars_result res = fast_float::from_chars(first, last, read, how);
    if (res.ec != std::errc())
        return {res.ptr, res.ec};
    // fast_float gives infinity past the double range and zero below it; a number's text starts
    // with a digit or the point, where "inf" and "nan" do not.
    const char* start = first + (*first == '-' ? 1 : 0);
    const bool number = start != res.ptr && (*start == '.' || (*start >= '0' && *start <= '9'));
    if (number && std::isinf(read))
        return {res.ptr, std::errc::result_out_of_range};
    if (number && read == 0) {
        for (const char* c = start; c != res.ptr && *c != 'e' && *c != 'E'; ++c) {
            if (*c >= '1' && *c <= '9')
                return {res.ptr, std::errc::result_out_of_range};
        }
    }
    value = read;
    return {res.ptr, std::errc()};
}

} // namespace vellmore::platform
