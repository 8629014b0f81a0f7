#include "sky/brightness.h"

#include <algorithm>
#include <cmath>

namespace vellmore::sky {

double moonMagnitude(double phaseAngle)
{
    const double a = std::fabs(phaseAngle);
    return -12.73 + 0.026 * a + 4e-9 * std::pow(a, 4);
}

double litFraction(double phaseAngle)
{
    return (1 + std::cos(phaseAngle * 3.14159265358979323846 / 180)) / 2;
}

double moonSurfaceBrightness(double phaseAngle)
{
    const double a = std::min(std::fabs(phaseAngle), moonLawLimit);
    return std::pow(10, -0.4 * (moonMagnitude(a) - moonMagnitude(0))) / litFraction(a);
}

} // namespace vellmore::sky
