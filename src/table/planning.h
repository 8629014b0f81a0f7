#pragma once

namespace vellmore::table {

// Relative air mass at `altitude` degrees above the horizon (0 < altitude <= 90), by Kasten and
// Young (1989): X = 1 / (sin h + 0.50572 (h + 6.07995)^-1.6364). At the zenith it gives 0.9997,
// which is used as it is.
double airMass(double altitudeDegrees);

// How many times the zenith exposure an object needs through `airMass` air masses, when the air
// dims it by `extinction` magnitudes per air mass: 10^(0.4 k (X - 1)).
double extinctionFactor(double airMass, double extinction);

// Arc seconds of sky per pixel: 206.265 x pixel size (um) / system focal length (mm).
double imageScale(double pixelMicrons, double systemFocalLengthMm);

// Arc minutes of sky across a sensor side of `sideMm`: 2 atan(side / 2F).
double fieldOfView(double sideMm, double systemFocalLengthMm);

} // namespace vellmore::table
