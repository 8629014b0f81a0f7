#include "platform/numberparse.h"

#include "platform/doublechars.h"

#include <string>
#include <system_error>

namespace vellmore::platform {
namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isExponentMark(char c)
{
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Walks the text one significant character at a time, passing over blanks.
class Cursor
{
public:
    explicit Cursor(std::string_view text) : m_text(text) { skip(); }

    bool atEnd() const { return m_pos >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_pos]; }
    void advance()
    {
        ++m_pos;
        skip();
    }
    size_t position() const { return m_pos; }
    void rewind(size_t pos) { m_pos = pos; }

private:
    void skip()
    {
        while (m_pos < m_text.size() && isSkipped(m_text[m_pos]))
            ++m_pos;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

// Exponents are clamped well beyond the double range so that absurd exponents cannot overflow
// the arithmetic below; the outcome (overflow or zero) is the same.
constexpr long exponentClamp = 100000;

} // namespace

ParsedNumber parseNumber(std::string_view text)
{
    Cursor cur(text);
    bool negative = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
        negative = cur.peek() == '-';
        cur.advance();
    }

    // Significant digits without leading zeros, and where the decimal mark falls among them.
    std::string digits;
    long pointShift = 0; // digits before the mark minus the leading zeros dropped after it
    bool anyDigit = false;
    while (isDigit(cur.peek())) {
        anyDigit = true;
        if (!digits.empty() || cur.peek() != '0')
            digits += cur.peek();
        cur.advance();
    }
    pointShift = static_cast<long>(digits.size());
    if (cur.peek() == '.') {
        cur.advance();
        while (isDigit(cur.peek())) {
            anyDigit = true;
            if (digits.empty() && cur.peek() == '0')
                --pointShift;
            else
                digits += cur.peek();
            cur.advance();
        }
    }
    if (!anyDigit)
        return {};

    long exponent = 0;
    if (isExponentMark(cur.peek())) {
        const size_t markPos = cur.position();
        cur.advance();
        bool expNegative = false;
        if (cur.peek() == '+' || cur.peek() == '-') {
            expNegative = cur.peek() == '-';
            cur.advance();
        }
        if (!isDigit(cur.peek())) {
            cur.rewind(markPos); // "12E" and "12e+" are just 12
        } else {
            while (isDigit(cur.peek())) {
                if (exponent < exponentClamp)
                    exponent = exponent * 10 + (cur.peek() - '0');
                cur.advance();
            }
            if (expNegative)
                exponent = -exponent;
        }
    }

    if (digits.empty())
        return {negative ? -0.0 : 0.0, false};

    // 0.DIGITS x 10^(pointShift + exponent); past 800 digits only whether any further digit is
    // non-zero can still matter for rounding, so the rest collapse into one sticky digit.
    constexpr size_t keep = 800;
    if (digits.size() > keep) {
        const bool sticky = digits.find_first_not_of('0', keep) != std::string::npos;
        digits.resize(keep);
        digits += sticky ? '1' : '0';
    }
    const long decimalExponent = pointShift + exponent;
    if (decimalExponent > 400)
        return {0.0, true};
    if (decimalExponent < -400)
        return {negative ? -0.0 : 0.0, false};

    std::string normal = "0." + digits + "e" + std::to_string(decimalExponent);
    double value = 0.0;
    const auto [end, ec] = fromChars(normal.data(), normal.data() + normal.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (decimalExponent > 0)
            return {0.0, true};
        value = 0.0;
    }
    return {negative ? -value : value, false};
}

} // namespace vellmore::platform
