#pragma once

#include "calc/exposure.h"

#include <string>

namespace vellmore::calc {

// The input's name in messages ("the telescope aperture").
std::string inputName(Input input);

// A person's words for what failed and which input is to blame, e.g.
// "Cannot work out the f ratio: the telescope aperture is 0."
std::string describeFault(const Fault& fault, const Figures& figures);

} // namespace vellmore::calc
