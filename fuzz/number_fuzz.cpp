// Any text as a number field, and the number texts of whatever it reads as.
#include "fuzzcheck.h"
#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

// Exactly `decimals` digits after the one ".", at least one digit before it, no "-0".
bool isPatternText(const std::string& text, int decimals)
{
    const size_t mark = text.find('.');
    if (mark == std::string::npos || text.size() - mark - 1 != static_cast<size_t>(decimals))
        return false;
    const size_t firstDigit = text[0] == '-' ? 1 : 0;
    if (mark <= firstDigit)
        return false;
    for (size_t i = firstDigit; i < text.size(); ++i) {
        if (i != mark && (text[i] < '0' || text[i] > '9'))
            return false;
    }
    return firstDigit == 0 || text.find_first_not_of("0.", 1) != std::string::npos;
}

void checkTexts(double value)
{
    using namespace vellmore::platform;
    FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(isPatternText(formatPattern(value, 2), 2));
    FUZZ_CHECK(isPatternText(formatPattern(value, 5), 5));

    // The general text, read back, is the same number to 15 significant digits.
    const std::string general = formatGeneral(value);
    const ParsedNumber back = parseNumber(general);
    FUZZ_CHECK(!back.overflow);
    FUZZ_CHECK(formatGeneral(back.value) == general);
    FUZZ_CHECK(general.find(' ') == std::string::npos);

    const std::string trimmed = formatSignedTrimmed(value);
    FUZZ_CHECK(formatGeneral(parseNumber(trimmed).value) == general);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vellmore::platform::ParsedNumber parsed = vellmore::platform::parseNumber(text);
    if (!parsed.overflow)
        checkTexts(parsed.value);

    // Raw bit patterns reach values that text rarely does: subnormals, extremes.
    if (size >= sizeof(double)) {
        double bits;
        std::memcpy(&bits, data, sizeof bits);
        if (std::isfinite(bits))
            checkTexts(bits);
    }
    return 0;
}
