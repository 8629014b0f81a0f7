#include "calc/exposure.h"

#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <cmath>

namespace vellmore::calc {
namespace {

using platform::formatPattern;

// Every operand is finite (each step is checked before the next), so an operation raised
// division by zero, invalid operation or overflow exactly when its result is not finite.
bool faulted(double result)
{
    return !std::isfinite(result);
}

double at(const std::array<double, inputCount>& inputs, Input input)
{
    return inputs[static_cast<size_t>(input)];
}

} // namespace

Calculation computeFromNumbers(const std::array<double, inputCount>& inputs, bool publish)
{
    Calculation calc;
    Figures& f = calc.figures;
    f.inputs = inputs;
    const double T = at(inputs, Input::TelescopeFL);
    const double E = at(inputs, Input::EyepieceFL);
    const double C = at(inputs, Input::CameraFL);
    const double A = at(inputs, Input::TelescopeAperture);
    const double K = at(inputs, Input::K);
    const double S = at(inputs, Input::FilmISO);

    auto stop = [&calc](Step step) {
        calc.fault = Fault{step, Input::TelescopeFL};
        return calc;
    };

    const double M = T / E;
    if (faulted(M))
        return stop(Step::Magnification);
    f.magnification = M;

    const double F = C * M;
    if (faulted(F))
        return stop(Step::SystemFL);
    f.systemFL = F;

    const double N = F / A;
    if (faulted(N))
        return stop(Step::FRatio);
    f.fRatio = N;

    const long double power = std::pow(static_cast<long double>(N), 2.0L);
    const long double product = static_cast<long double>(K) * S;
    const long double quotient = power / product;
    const double t = static_cast<double>(quotient);
    if (faulted(t))
        return stop(Step::Exposure);
    f.exposure = t;

    if (publish) {
        calc.published.push_back({Output::Magnification, formatPattern(M, 2) + "X"});
        calc.published.push_back({Output::SystemFL, formatPattern(F, 2)});
        calc.published.push_back({Output::FRatio, formatPattern(N, 2)});
        calc.published.push_back({Output::Exposure, formatPattern(t, 5) + " Sec"});
    }

    const double r = 1.0 / t;
    if (faulted(r))
        return stop(Step::Reciprocal);
    f.reciprocal = r;
    if (publish)
        calc.published.push_back({Output::Reciprocal, formatPattern(r, 2) + " Sec"});
    return calc;
}

Calculation computeExposure(const std::array<std::string, inputCount>& fieldTexts)
{
    std::array<double, inputCount> inputs{};
    for (size_t i = 0; i < inputs.size(); ++i) {
        const platform::ParsedNumber parsed = platform::parseNumber(fieldTexts[i]);
        if (parsed.overflow) {
            Calculation calc;
            calc.fault = Fault{Step::ReadInputs, static_cast<Input>(i)};
            return calc;
        }
        inputs[i] = parsed.value;
    }
    return computeFromNumbers(inputs);
}

} // namespace vellmore::calc
