#pragma once

#include "table/exposuretable.h"

#include <string>

namespace vellmore::table {

// Whether a cell's exposure is given as a marked shutter speed.
bool isSpeed(const Cell& cell);

// A cell's shutter as a CSV cell, a marked speed with its unit ("1/8 s", which a spreadsheet
// would otherwise take for a date); "" where the cell has no exposure.
std::string shutterField(const Cell& cell);

} // namespace vellmore::table
