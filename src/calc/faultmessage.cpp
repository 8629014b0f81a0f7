#include "calc/faultmessage.h"

namespace vellmore::calc {
namespace {

std::string whatFailed(Step step)
{
    switch (step) {
    case Step::ReadInputs:
        return "Cannot read the inputs";
    case Step::Magnification:
        return "Cannot work out the magnification";
    case Step::SystemFL:
        return "Cannot work out the system focal length";
    case Step::FRatio:
        return "Cannot work out the f ratio";
    case Step::Exposure:
        return "Cannot work out the exposure";
    case Step::Reciprocal:
        return "Cannot work out 1 / exposure";
    }
    return "Cannot calculate";
}

double value(const Figures& f, Input input)
{
    return f.inputs[static_cast<size_t>(input)];
}

std::string isZero(Input input)
{
    return inputName(input) + " is 0.";
}

std::string why(const Fault& fault, const Figures& f)
{
    switch (fault.step) {
    case Step::ReadInputs:
        return inputName(fault.input) + " is too large a number.";
    case Step::Magnification:
        if (value(f, Input::EyepieceFL) == 0)
            return isZero(Input::EyepieceFL);
        return "the telescope focal length divided by the eyepiece focal length is too large.";
    case Step::SystemFL:
        return "the camera lens focal length times the magnification is too large.";
    case Step::FRatio:
        if (value(f, Input::TelescopeAperture) == 0)
            return isZero(Input::TelescopeAperture);
        return "the system focal length divided by the telescope aperture is too large.";
    case Step::Exposure:
        if (value(f, Input::K) == 0)
            return isZero(Input::K);
        if (value(f, Input::FilmISO) == 0)
            return isZero(Input::FilmISO);
        return "the exposure is too long to show; check the K and the film ISO.";
    case Step::Reciprocal:
        if (value(f, Input::TelescopeFL) == 0)
            return "the exposure is 0 seconds because " + isZero(Input::TelescopeFL);
        if (value(f, Input::CameraFL) == 0)
            return "the exposure is 0 seconds because " + isZero(Input::CameraFL);
        return "the exposure is too short; check the K and the film ISO.";
    }
    return "an input is out of range.";
}

} // namespace

std::string inputName(Input input)
{
    switch (input) {
    case Input::TelescopeFL:
        return "the telescope focal length";
    case Input::EyepieceFL:
        return "the eyepiece focal length";
    case Input::CameraFL:
        return "the camera lens focal length";
    case Input::TelescopeAperture:
        return "the telescope aperture";
    case Input::K:
        return "K";
    case Input::FilmISO:
        return "the film ISO";
    }
    return "an input";
}

std::string describeFault(const Fault& fault, const Figures& figures)
{
    return whatFailed(fault.step) + ": " + why(fault, figures);
}

} // namespace vellmore::calc
