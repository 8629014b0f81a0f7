#include "platform/numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vellmore::platform {
namespace {

constexpr int significantDigits = 15;

// The value as 15 significant digits D1..D15 and the exponent e of D1 (value = D1.D2... x 10^e).
struct Decimal
{
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double magnitude)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   significantDigits - 1);
    const std::string text(buf, res.ptr);
    Decimal d;
    const size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            d.digits += text[i];
    }
    d.exponent = std::atoi(text.c_str() + e + 1);
    return d;
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value))
        return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

std::string exponentText(int exponent)
{
    std::string text = exponent < 0 ? "E-" : "E+";
    const int size = std::abs(exponent);
    if (size < 10)
        text += '0';
    return text + std::to_string(size);
}

std::string formatShortest(double value, bool digitBeforeMark)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (value == 0.0)
        return "0";
    Decimal d = toDecimal(std::fabs(value));
    // The largest doubles round up past the double range at 15 digits; their text is cut
    // instead, so that it can always be read back as a number.
    const std::string largest = "179769313486231";
    if (d.exponent == 308 && d.digits > largest)
        d.digits = largest;
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    const int count = static_cast<int>(d.digits.size());
    const std::string sign = value < 0 ? "-" : "";

    const int decimalPlaces = count - 1 - d.exponent;
    if (d.exponent >= significantDigits || decimalPlaces > significantDigits) {
        std::string text = sign + d.digits.substr(0, 1);
        if (count > 1)
            text += "." + d.digits.substr(1);
        return text + exponentText(d.exponent);
    }
    if (d.exponent < 0) {
        const std::string lead = digitBeforeMark ? "0." : ".";
        return sign + lead + std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
    }
    const size_t integerDigits = static_cast<size_t>(d.exponent) + 1;
    if (d.digits.size() <= integerDigits)
        return sign + d.digits + std::string(integerDigits - d.digits.size(), '0');
    return sign + d.digits.substr(0, integerDigits) + "." + d.digits.substr(integerDigits);
}

} // namespace

std::string formatPattern(double value, int decimals)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    if (decimals < 0)
        decimals = 0;
    if (value == 0.0)
        return "0" + (decimals > 0 ? "." + std::string(static_cast<size_t>(decimals), '0') : "");

    const Decimal d = toDecimal(std::fabs(value));
    // Digits of the fixed-point form, units digit at index `integerDigits - 1`.
    const int integerDigits = d.exponent + 1;
    const int kept = integerDigits + decimals;
    std::string fixed; // exactly `kept` digits after rounding, or fewer leading zeros
    if (kept <= 0) {
        // Every kept digit is zero; only a first dropped digit of 5 or more rounds up.
        fixed = (kept == 0 && d.digits[0] >= '5') ? "1" : "0";
    } else {
        fixed = d.digits.substr(0, static_cast<size_t>(std::min(kept, significantDigits)));
        fixed.append(static_cast<size_t>(kept) - fixed.size(), '0');
        if (kept < significantDigits && d.digits[static_cast<size_t>(kept)] >= '5') {
            int i = kept - 1;
            while (i >= 0 && fixed[static_cast<size_t>(i)] == '9')
                fixed[static_cast<size_t>(i--)] = '0';
            if (i >= 0)
                ++fixed[static_cast<size_t>(i)];
            else
                fixed.insert(fixed.begin(), '1');
        }
    }
    // Left-pad so that at least one integer digit stands before the mark.
    if (fixed.size() < static_cast<size_t>(decimals) + 1)
        fixed.insert(0, static_cast<size_t>(decimals) + 1 - fixed.size(), '0');

    const size_t split = fixed.size() - static_cast<size_t>(decimals);
    std::string text = fixed.substr(0, split);
    if (decimals > 0)
        text += "." + fixed.substr(split);
    const bool showsZero = fixed.find_first_not_of('0') == std::string::npos;
    return (value < 0 && !showsZero ? "-" : "") + text;
}

std::string formatGeneral(double value)
{
    return formatShortest(value, true);
}

std::string formatSignedTrimmed(double value)
{
    return formatShortest(value, false);
}

} // namespace vellmore::platform
