// Any six field texts (separated by newlines in the input): the calculation publishes in order
// and stops exactly where it faults.
#include "calc/exposure.h"
#include "calc/faultmessage.h"
#include "fuzzcheck.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vellmore::calc;
    std::array<std::string, inputCount> fields;
    size_t field = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && field + 1 < fields.size())
            ++field;
        else
            fields[field] += static_cast<char>(data[i]);
    }

    const Calculation calc = computeExposure(fields);
    for (size_t i = 0; i < calc.published.size(); ++i)
        FUZZ_CHECK(static_cast<size_t>(calc.published[i].label) == i);
    if (!calc.fault) {
        FUZZ_CHECK(calc.published.size() == 5);
        return 0;
    }
    const size_t expected = calc.fault->step == Step::Reciprocal ? 4 : 0;
    FUZZ_CHECK(calc.published.size() == expected);
    FUZZ_CHECK(!describeFault(*calc.fault, calc.figures).empty());
    return 0;
}
