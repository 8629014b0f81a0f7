#pragma once

namespace vellmore::sky {

// The Moon's integrated V magnitude at a phase angle (degrees, 0 at full), by Krisciunas and
// Schaefer (1991, PASP 103, 1033): V(a) = -12.73 + 0.026 |a| + 4e-9 a^4.
double moonMagnitude(double phaseAngle);

// The phase angle beyond which the law no longer holds: a Moon about 7% lit, near the Sun.
constexpr double moonLawLimit = 150;

// How bright the Moon's lit part is, per unit of lit area, against the full Moon's: the light of
// the whole disc by the law, over the lit fraction (1 + cos a) / 2. Beyond the law's limit, the
// value at the limit.
double moonSurfaceBrightness(double phaseAngle);

// The lit fraction of a disc at a phase angle (degrees).
double litFraction(double phaseAngle);

} // namespace vellmore::sky
