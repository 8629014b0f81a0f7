#include "calc/exposure.h"
#include "calc/faultmessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::calc {
namespace {

// Each calculation publishes the labels it reached, in label order, and the message of the
// fault that stopped it ("" when none did).
TEST(ComputeExposure, PublishesUpToTheFirstFault)
{
    const std::string zeros200 = "1" + std::string(200, '0') + ".00";
    const std::string zeroTime = "Cannot work out 1 / exposure: the exposure is 0 seconds because ";
    // clang-format off
    const struct { std::array<std::string, inputCount> inputs; std::vector<std::string> published; std::string message; } cases[] = {
        {{"1420", "19", "50", "220", "40", "100"}, {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"}, ""},
        {{"1420", "19", "50", "220", "1310", "100"}, {"74.74X", "3736.84", "16.99", "0.00220 Sec", "454.05 Sec"}, ""},
        {{"-1420", "19", "50", "220", "40", "100"}, {"-74.74X", "-3736.84", "-16.99", "0.07213 Sec", "13.86 Sec"}, ""},
        {{"1420", "0", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the eyepiece focal length is 0."},
        {{"0", "", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the eyepiece focal length is 0."},
        {{"1e300", "1e-10", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the telescope focal length divided by the eyepiece focal length is too large."},
        {{"1e300", "1", "1e10", "220", "40", "100"}, {}, "Cannot work out the system focal length: the camera lens focal length times the magnification is too large."},
        {{"1420", "19", "50", "0", "40", "100"}, {}, "Cannot work out the f ratio: the telescope aperture is 0."},
        {{"1e300", "1", "1", "1e-10", "40", "100"}, {}, "Cannot work out the f ratio: the system focal length divided by the telescope aperture is too large."},
        {{"1420", "19", "50", "220", "abc", "100"}, {}, "Cannot work out the exposure: K is 0."},
        {{"1420", "19", "50", "220", "40", ""}, {}, "Cannot work out the exposure: the film ISO is 0."},
        {{"1e150", "1", "1", "1", "1e-300", "1"}, {}, "Cannot work out the exposure: the exposure is too long to show; check the K and the film ISO."},
        {{"0", "19", "50", "220", "40", "100"}, {"0.00X", "0.00", "0.00", "0.00000 Sec"}, zeroTime + "the telescope focal length is 0."},
        {{"1420", "19", "0", "220", "40", "100"}, {"74.74X", "0.00", "0.00", "0.00000 Sec"}, zeroTime + "the camera lens focal length is 0."},
        // N^2 and K x S beyond the double range are held wider, so t itself can still be worked out.
        {{"1e200", "1", "1", "1", "1e300", "1e300"}, {zeros200 + "X", zeros200, zeros200, "0.00000 Sec", zeros200 + " Sec"}, ""},
        {{"1e-160", "1", "1", "1", "1", "1"}, {"0.00X", "0.00", "0.00", "0.00000 Sec"},
         "Cannot work out 1 / exposure: the exposure is too short; check the K and the film ISO."},
        {{"1420", "19", "50", "220", "1e400", "100"}, {}, "Cannot read the inputs: K is too large a number."},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Calculation got = computeExposure(c.inputs);
        std::vector<std::string> texts;
        for (const Published& published : got.published)
            texts.push_back(published.text);
        EXPECT_EQ(texts, c.published) << c.inputs[0] << " " << c.inputs[1];
        EXPECT_EQ(got.fault ? describeFault(*got.fault, got.figures) : "", c.message);
    }
}

} // namespace
} // namespace vellmore::calc
