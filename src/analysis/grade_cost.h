#pragma once

namespace torvanu {

// The energy a runner spends per kilogram and metre on the flat, in J/(kg m).
constexpr double kFlatRunningCost = 3.6;

// The steepest gradient, up or down, the measured costs below cover (as a fraction: 0.45 is
// 45 m up over 100 m); a steeper stretch costs what this one does.
constexpr double kSteepestGrade = 0.45;

// The energy cost of running on a gradient, in J/(kg m), as measured on a treadmill by Minetti,
// Moia, Roi, Susta and Ferretti (J. Appl. Physiol. 93, 2002) and fitted by a polynomial:
// C(i) = 155.4 i^5 - 30.4 i^4 - 43.3 i^3 + 46.3 i^2 + 19.5 i + 3.6.
double runningCost(double grade);

// How many metres of flat running a metre at this gradient is worth: C(i) / C(0).
double flatEquivalent(double grade);

} // namespace torvanu
