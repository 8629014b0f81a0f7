#include "platform/numberformat.h"

#include "platform/doublechars.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace vellmore::platform {
namespace {

constexpr int significantDigits = 15;

// The value as 15 significant digits D1..D15 and the exponent e of D1 (value = D1.D2... x 10^e).
struct Digits
{
    std::string digits;
    int exponent = 0;
};

Digits toDecimal(double magnitude)
{
    char buf[64];
    const auto res = toChars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                             significantDigits - 1);
    const std::string text(buf, res.ptr);
    Digits d;
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
    Digits d = toDecimal(std::fabs(value));
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

    const Digits d = toDecimal(std::fabs(value));
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

namespace {

// The double nearest a decimal text of up to 15 digits and a power of ten within 1e22: the
// digits and the power are exact doubles, so one correctly rounded product or quotient is the
// nearest double, as reading the text would give it, at a fraction of the cost. None for other
// texts.
std::optional<double> shortDecimal(const char* text, const char* end)
{
    const bool negative = text != end && *text == '-';
    const char* c = text + (negative ? 1 : 0);
    double digits = 0;
    int count = 0, exponent = 0;
    for (; c != end && (std::isdigit(static_cast<unsigned char>(*c)) || *c == '.'); ++c) {
        if (*c == '.') {
            exponent = 0;
            for (const char* d = c + 1; d != end && std::isdigit(static_cast<unsigned char>(*d));
                 ++d)
                --exponent;
            continue;
        }
        digits = digits * 10 + (*c - '0');
        if (digits > 0 && ++count > 15)
            return std::nullopt;
    }
    if (c != end) {
        int power = 0;
        if (*c != 'e' || std::from_chars(c + (c[1] == '+' ? 2 : 1), end, power).ptr != end)
            return std::nullopt; // "inf", "nan"
        exponent += power;
    }
    static const double tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (exponent < -22 || exponent > 22)
        return std::nullopt;
    const double value = exponent < 0 ? digits / tens[-exponent] : digits * tens[exponent];
    return negative ? -value : value;
}

// Written in the shortest form, which is the same everywhere, and read back.
double throughText(double value, std::chars_format format, int precision)
{
    char text[400];
    const auto written = toChars(text, text + sizeof text, value, format, precision);
    if (written.ec != std::errc())
        return value;
    if (const std::optional<double> quick = shortDecimal(text, written.ptr))
        return *quick;
    double back = value;
    fromChars(text, written.ptr, back);
    return back;
}

} // namespace

std::optional<Decimal> roundedDecimal(double value, int decimals)
{
    // value x 10^places, exactly, as the rounded product and its error (Dekker's product: 10^4
    // has few enough bits to need no split). Rounded to a whole number, ties to even, as the text
    // is; divided by 10^places, it is the double the text reads back as. The error decides only
    // where the rounded product sits on a half.
    static const double tens[] = {1, 10, 100, 1000, 10000};
    if (decimals < 0 || decimals > 4 || !(std::fabs(value) < 0x1p36))
        return std::nullopt;
    const double scale = tens[decimals];
    const double product = value * scale; // under 2^50, where halves are exact
    const double split = (0x1p27 + 1) * value;
    const double high = split - (split - value);
    const double error = (high * scale - product) + (value - high) * scale;
    double whole = std::rint(product);
    if (product - std::floor(product) == 0.5 && error != 0)
        whole = error > 0 ? std::ceil(product) : std::floor(product);
    return Decimal{whole, decimals};
}

double rounded(double value, int decimals)
{
    static const double tens[] = {1, 10, 100, 1000, 10000};
    if (const std::optional<Decimal> d = roundedDecimal(value, decimals))
        return d->units / tens[d->decimals];
    return throughText(value, std::chars_format::fixed, decimals);
}

double significant(double value, int digits)
{
    return throughText(value, std::chars_format::general, digits);
}

} // namespace vellmore::platform
