#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vellmore::calc {

// The six inputs in the order they are read: telescope, eyepiece and camera lens focal lengths
// and telescope aperture (mm), the object's brightness constant K, and the film ISO speed.
enum class Input { TelescopeFL, EyepieceFL, CameraFL, TelescopeAperture, K, FilmISO };
constexpr int inputCount = 6;

// The five result labels, in the order they are published.
enum class Output { Magnification, SystemFL, FRatio, Exposure, Reciprocal };

// The step at which a calculation can stop.
enum class Step { ReadInputs, Magnification, SystemFL, FRatio, Exposure, Reciprocal };

// An arithmetic fault: the step's operation divided by zero, had no valid result (0 / 0) or left
// the double range. Which of these it was follows from the figures and is not kept.
struct Fault
{
    Step step = Step::ReadInputs;
    Input input = Input::TelescopeFL; // the field that could not be read (ReadInputs only)
};

struct Published
{
    Output label;
    std::string text;
};

// Every figure worked out before a fault; those after it stay 0.
struct Figures
{
    std::array<double, inputCount> inputs{};
    double magnification = 0; // M = T / E
    double systemFL = 0;      // F = C x M, mm
    double fRatio = 0;        // N = F / A
    double exposure = 0;      // t = N^2 / (K x S), seconds
    double reciprocal = 0;    // r = 1 / t
};

struct Calculation
{
    Figures figures;
    std::vector<Published> published; // in publishing order, up to the fault
    std::optional<Fault> fault;
};

// Works out the optics and exposure from six numbers. N^2 and K x S are held in long double,
// whose wider exponent range lets an extreme product pass step 5 as long as t itself fits.
// The night's plan, which works one out at every step, asks for the figures alone, without the
// texts the window publishes.
Calculation computeFromNumbers(const std::array<double, inputCount>& inputs, bool publish = true);

// The whole calculation from the six field texts (UTF-8), read with the text-to-number
// rules; a field holding a number beyond the double range stops it before any step.
Calculation computeExposure(const std::array<std::string, inputCount>& fieldTexts);

} // namespace vellmore::calc
