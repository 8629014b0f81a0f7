#include "table/planning.h"

#include <cmath>

namespace vellmore::table {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double arcMinutesPerRadian = 180 * 60 / pi;

} // namespace

double airMass(double altitudeDegrees)
{
    const double h = altitudeDegrees;
    return 1 / (std::sin(h * pi / 180) + 0.50572 * std::pow(h + 6.07995, -1.6364));
}

double extinctionFactor(double airMass, double extinction)
{
    return std::pow(10.0, 0.4 * extinction * (airMass - 1));
}

double imageScale(double pixelMicrons, double systemFocalLengthMm)
{
    return 206.265 * pixelMicrons / systemFocalLengthMm;
}

double fieldOfView(double sideMm, double systemFocalLengthMm)
{
    return 2 * std::atan(sideMm / (2 * systemFocalLengthMm)) * arcMinutesPerRadian;
}

} // namespace vellmore::table
