#pragma once

#include <string_view>

namespace vellmore::platform {

struct ParsedNumber
{
    double value = 0.0;
    // The number written at the start of the text lies beyond the double range.
    bool overflow = false;
};

// Reads the number at the start of a text, as the calculator reads its fields: blanks, tabs, CR and
// LF are skipped anywhere; one leading sign; digits with one "." as the decimal mark; an optional
// exponent (E, e, D or d) with an optional sign. Reading stops at the first character that cannot
// continue the number; no number at the start gives 0. The result is correctly rounded and never
// depends on the process locale. Values too small for a double become 0 (no fault); values too
// large are reported as overflow.
ParsedNumber parseNumber(std::string_view text);

} // namespace vellmore::platform
