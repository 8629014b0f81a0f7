#pragma once

#include <optional>
#include <string>

namespace vellmore::platform {

// Fixed-point text with exactly `decimals` decimals, as the patterns "0.00" (2) and "0.00000" (5)
// print it: rounded half away from zero on the value's 15-significant-digit decimal form, "." as
// the mark, every integer digit and no grouping, and no minus sign on a text that shows zero.
std::string formatPattern(double value, int decimals);

// The shortest decimal text of the value to 15 significant digits, with no leading blank and no
// trailing zeros ("40", "13.6", "0.5"); exponent form ("1E+15", "5.6789E-12") only where the
// digits do not fit within 15 decimal places.
std::string formatGeneral(double value);

// As formatGeneral, but a value below 1 in size has no digit before the mark (".5", "-.5").
std::string formatSignedTrimmed(double value);

// A figure rounded to `decimals` places, or to `digits` significant digits, the same on every
// platform, so that each writes the same plan.
double rounded(double value, int decimals);

// The same rounding as a whole number of hundredths (or whatever `decimals` gives, up to 4),
// with the sign of a zero kept, for a writer to print as it stands; none for a value too large
// for that.
struct Decimal
{
    double units;
    int decimals;
};
std::optional<Decimal> roundedDecimal(double value, int decimals);
double significant(double value, int digits);

} // namespace vellmore::platform
