#include "calc/exposure.h"
#include "calc/faultmessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::calc {
namespace {

using Texts = std::vector<std::string>;

struct CalcCase
{
    const char* name;
    std::array<std::string, inputCount> inputs;
    Texts published; // in label order, as many as were published
    std::optional<Step> faultAt;
    std::string message;
};

Texts textsOf(const Calculation& calc)
{
    Texts texts;
    for (size_t i = 0; i < calc.published.size(); ++i) {
        EXPECT_EQ(static_cast<size_t>(calc.published[i].label), i) << "published out of order";
        texts.push_back(calc.published[i].text);
    }
    return texts;
}

class ComputeExposure : public ::testing::TestWithParam<CalcCase>
{};

TEST_P(ComputeExposure, PublishesUpToTheFirstFault)
{
    const CalcCase& c = GetParam();
    const Calculation got = computeExposure(c.inputs);
    EXPECT_EQ(textsOf(got), c.published);
    ASSERT_EQ(got.fault.has_value(), c.faultAt.has_value());
    if (got.fault) {
        EXPECT_EQ(got.fault->step, *c.faultAt);
        EXPECT_EQ(describeFault(*got.fault, got.figures), c.message);
    }
}

const Texts designTime = {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"};

INSTANTIATE_TEST_SUITE_P(
    Inputs, ComputeExposure,
    ::testing::Values(
        CalcCase{"DesignTime", {"1420", "19", "50", "220", "40", "100"}, designTime, {}, ""},
        CalcCase{"FullMoon",
                 {"1420", "19", "50", "220", "200", "100"},
                 {"74.74X", "3736.84", "16.99", "0.01443 Sec", "69.32 Sec"},
                 {},
                 ""},
        CalcCase{"CrescentMoon",
                 {"1420", "19", "50", "220", "20", "100"},
                 {"74.74X", "3736.84", "16.99", "0.14426 Sec", "6.93 Sec"},
                 {},
                 ""},
        CalcCase{"Venus",
                 {"1420", "19", "50", "220", "1310", "100"},
                 {"74.74X", "3736.84", "16.99", "0.00220 Sec", "454.05 Sec"},
                 {},
                 ""},
        CalcCase{"Saturn",
                 {"1420", "19", "50", "220", "13.6", "100"},
                 {"74.74X", "3736.84", "16.99", "0.21214 Sec", "4.71 Sec"},
                 {},
                 ""},
        CalcCase{"UnitsAfterNumbers",
                 {"1420 mm", " 19", "50mm", "220 mm", "40", "100 ISO"},
                 designTime,
                 {},
                 ""},
        CalcCase{"NegativeInputs",
                 {"-1420", "19", "50", "220", "40", "100"},
                 {"-74.74X", "-3736.84", "-16.99", "0.07213 Sec", "13.86 Sec"},
                 {},
                 ""},
        CalcCase{"LargeWithoutGrouping",
                 {"142000000", "19", "50", "220", "40", "100"},
                 {"7473684.21X", "373684210.53", "1698564.59", "721280419.40432 Sec", "0.00 Sec"},
                 {},
                 ""},
        CalcCase{"EyepieceZero",
                 {"1420", "0", "50", "220", "40", "100"},
                 {},
                 Step::Magnification,
                 "Cannot work out the magnification: the eyepiece focal length is 0."},
        CalcCase{"EyepieceEmpty",
                 {"1420", "", "50", "220", "40", "100"},
                 {},
                 Step::Magnification,
                 "Cannot work out the magnification: the eyepiece focal length is 0."},
        CalcCase{"ZeroOverZero",
                 {"0", "0", "50", "220", "40", "100"},
                 {},
                 Step::Magnification,
                 "Cannot work out the magnification: the eyepiece focal length is 0."},
        CalcCase{"MagnificationOverflow",
                 {"1e300", "1e-10", "50", "220", "40", "100"},
                 {},
                 Step::Magnification,
                 "Cannot work out the magnification: the telescope focal length divided by the "
                 "eyepiece focal length is too large."},
        CalcCase{"SystemFLOverflow",
                 {"1e300", "1", "1e10", "220", "40", "100"},
                 {},
                 Step::SystemFL,
                 "Cannot work out the system focal length: the camera lens focal length times the "
                 "magnification is too large."},
        CalcCase{"ApertureZero",
                 {"1420", "19", "50", "0", "40", "100"},
                 {},
                 Step::FRatio,
                 "Cannot work out the f ratio: the telescope aperture is 0."},
        CalcCase{"KZero",
                 {"1420", "19", "50", "220", "abc", "100"},
                 {},
                 Step::Exposure,
                 "Cannot work out the exposure: K is 0."},
        CalcCase{"IsoZero",
                 {"1420", "19", "50", "220", "40", ""},
                 {},
                 Step::Exposure,
                 "Cannot work out the exposure: the film ISO is 0."},
        CalcCase{"ExposureOverflow",
                 {"1e150", "1", "1", "1", "1e-300", "1"},
                 {},
                 Step::Exposure,
                 "Cannot work out the exposure: the exposure is too long to show; check the K and "
                 "the film ISO."},
        CalcCase{"TelescopeZero",
                 {"0", "19", "50", "220", "40", "100"},
                 {"0.00X", "0.00", "0.00", "0.00000 Sec"},
                 Step::Reciprocal,
                 "Cannot work out 1 / exposure: the exposure is 0 seconds because the telescope "
                 "focal length is 0."},
        CalcCase{"CameraZero",
                 {"1420", "19", "0", "220", "40", "100"},
                 {"74.74X", "0.00", "0.00", "0.00000 Sec"},
                 Step::Reciprocal,
                 "Cannot work out 1 / exposure: the exposure is 0 seconds because the camera lens "
                 "focal length is 0."},
        // N^2 and K x S beyond the double range are held wider: t underflows to 0 and the fault
        // comes only at 1 / t.
        CalcCase{"WideProductUnderflows",
                 {"1e200", "1", "1", "1", "1e300", "1e300"},
                 {"100000000000000000000" + std::string(180, '0') + ".00X",
                  "1" + std::string(200, '0') + ".00", "1" + std::string(200, '0') + ".00",
                  "0.00000 Sec", "1" + std::string(200, '0') + ".00 Sec"},
                 {},
                 ""},
        CalcCase{"TinyExposure",
                 {"1e-160", "1", "1", "1", "1", "1"},
                 {"0.00X", "0.00", "0.00", "0.00000 Sec"},
                 Step::Reciprocal,
                 "Cannot work out 1 / exposure: the exposure is too short; check the K and the "
                 "film ISO."},
        CalcCase{"SubnormalInputIsNoFault",
                 {"1e-320", "1", "1", "1", "1", "1"},
                 {"0.00X", "0.00", "0.00", "0.00000 Sec"},
                 Step::Reciprocal,
                 "Cannot work out 1 / exposure: the exposure is too short; check the K and the "
                 "film ISO."},
        CalcCase{"InputOverflow",
                 {"1420", "19", "50", "220", "1e400", "100"},
                 {},
                 Step::ReadInputs,
                 "Cannot read the inputs: K is too large a number."},
        CalcCase{"NegativeZero",
                 {"-0", "19", "50", "220", "40", "100"},
                 {"0.00X", "0.00", "0.00", "0.00000 Sec"},
                 Step::Reciprocal,
                 "Cannot work out 1 / exposure: the exposure is 0 seconds because the telescope "
                 "focal length is 0."}),
    [](const ::testing::TestParamInfo<CalcCase>& info) { return std::string(info.param.name); });

TEST(ComputeFromNumbers, KeepsFullPrecisionFigures)
{
    const Calculation got = computeFromNumbers({1420, 19, 50, 220, 40, 100});
    ASSERT_FALSE(got.fault);
    EXPECT_DOUBLE_EQ(got.figures.magnification, 1420.0 / 19);
    EXPECT_DOUBLE_EQ(got.figures.fRatio, 50 * (1420.0 / 19) / 220);
    EXPECT_DOUBLE_EQ(got.figures.reciprocal, 1 / got.figures.exposure);
}

} // namespace
} // namespace vellmore::calc
