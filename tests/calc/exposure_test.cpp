#include "calc/exposure.h"
#include "calc/faultmessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::calc {
namespace {

struct CalcCase
{
    const char* name;
    std::array<std::string, inputCount> inputs;
    std::vector<std::string> published; // as many labels as were reached, in label order
    std::string message;                // "" when nothing faults
};

class ComputeExposure : public ::testing::TestWithParam<CalcCase>
{};

TEST_P(ComputeExposure, PublishesUpToTheFirstFault)
{
    const CalcCase& c = GetParam();
    const Calculation got = computeExposure(c.inputs);
    std::vector<std::string> texts;
    for (size_t i = 0; i < got.published.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(got.published[i].label), i) << "published out of order";
        texts.push_back(got.published[i].text);
    }
    EXPECT_EQ(texts, c.published);
    EXPECT_EQ(got.fault ? describeFault(*got.fault, got.figures) : "", c.message);
}

const std::string zeros200 = "1" + std::string(200, '0') + ".00";
const char* const zeroTime = "Cannot work out 1 / exposure: the exposure is 0 seconds because ";
const char* const tooShort =
    "Cannot work out 1 / exposure: the exposure is too short; check the K and the film ISO.";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, ComputeExposure, ::testing::Values(
    CalcCase{"DesignTime", {"1420", "19", "50", "220", "40", "100"}, {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"}, ""},
    CalcCase{"FullMoon", {"1420", "19", "50", "220", "200", "100"}, {"74.74X", "3736.84", "16.99", "0.01443 Sec", "69.32 Sec"}, ""},
    CalcCase{"CrescentMoon", {"1420", "19", "50", "220", "20", "100"}, {"74.74X", "3736.84", "16.99", "0.14426 Sec", "6.93 Sec"}, ""},
    CalcCase{"Venus", {"1420", "19", "50", "220", "1310", "100"}, {"74.74X", "3736.84", "16.99", "0.00220 Sec", "454.05 Sec"}, ""},
    CalcCase{"Saturn", {"1420", "19", "50", "220", "13.6", "100"}, {"74.74X", "3736.84", "16.99", "0.21214 Sec", "4.71 Sec"}, ""},
    CalcCase{"UnitsAfterNumbers", {"1420 mm", " 19", "50mm", "220 mm", "40", "100 ISO"}, {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"}, ""},
    CalcCase{"NegativeInputs", {"-1420", "19", "50", "220", "40", "100"}, {"-74.74X", "-3736.84", "-16.99", "0.07213 Sec", "13.86 Sec"}, ""},
    CalcCase{"EyepieceZero", {"1420", "0", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the eyepiece focal length is 0."},
    CalcCase{"ZeroOverZero", {"0", "", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the eyepiece focal length is 0."},
    CalcCase{"MagnificationOverflow", {"1e300", "1e-10", "50", "220", "40", "100"}, {}, "Cannot work out the magnification: the telescope focal length divided by the eyepiece focal length is too large."},
    CalcCase{"SystemFLOverflow", {"1e300", "1", "1e10", "220", "40", "100"}, {}, "Cannot work out the system focal length: the camera lens focal length times the magnification is too large."},
    CalcCase{"ApertureZero", {"1420", "19", "50", "0", "40", "100"}, {}, "Cannot work out the f ratio: the telescope aperture is 0."},
    CalcCase{"KNotANumber", {"1420", "19", "50", "220", "abc", "100"}, {}, "Cannot work out the exposure: K is 0."},
    CalcCase{"IsoEmpty", {"1420", "19", "50", "220", "40", ""}, {}, "Cannot work out the exposure: the film ISO is 0."},
    CalcCase{"ExposureOverflow", {"1e150", "1", "1", "1", "1e-300", "1"}, {}, "Cannot work out the exposure: the exposure is too long to show; check the K and the film ISO."},
    CalcCase{"TelescopeZero", {"0", "19", "50", "220", "40", "100"}, {"0.00X", "0.00", "0.00", "0.00000 Sec"}, std::string(zeroTime) + "the telescope focal length is 0."},
    CalcCase{"CameraZero", {"1420", "19", "0", "220", "40", "100"}, {"74.74X", "0.00", "0.00", "0.00000 Sec"}, std::string(zeroTime) + "the camera lens focal length is 0."},
    // N^2 and K x S beyond the double range are held wider, so t itself can still be worked out.
    CalcCase{"WideProduct", {"1e200", "1", "1", "1", "1e300", "1e300"}, {zeros200 + "X", zeros200, zeros200, "0.00000 Sec", zeros200 + " Sec"}, ""},
    CalcCase{"TinyExposure", {"1e-160", "1", "1", "1", "1", "1"}, {"0.00X", "0.00", "0.00", "0.00000 Sec"}, tooShort},
    CalcCase{"InputOverflow", {"1420", "19", "50", "220", "1e400", "100"}, {}, "Cannot read the inputs: K is too large a number."}),
    [](const ::testing::TestParamInfo<CalcCase>& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
} // namespace vellmore::calc
