#pragma once

#include <charconv>

// std::to_chars and std::from_chars for doubles, giving the same bytes on every toolchain, some
// of whose libraries have neither for floating point: {fmt} writes the digits, fast_float reads
// them.
namespace vellmore::platform {

// The shortest text that reads back as the value, fixed or scientific, whichever is shorter
// (fixed on a tie), as std::to_chars(first, last, value).
std::to_chars_result toChars(char* first, char* last, double value);

// The shortest digits in scientific ("1.25e-05") or fixed ("0.0000125") form.
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format);

// Correctly rounded to `precision` places or digits, as printf's %.*f, %.*e and %.*g.
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision);

// The nearest double. A number beyond the double range, or one so small it reads as zero, is
// result_out_of_range and leaves `value` as it was.
std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format = std::chars_format::general);

} // namespace vellmore::platform
