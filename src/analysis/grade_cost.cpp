#include "analysis/grade_cost.h"

#include <algorithm>

namespace torvanu {

double runningCost(double grade)
{
    const double i = std::clamp(grade, -kSteepestGrade, kSteepestGrade);
    // Horner's form of the polynomial, from the fifth power down.
    return ((((155.4 * i - 30.4) * i - 43.3) * i + 46.3) * i + 19.5) * i + kFlatRunningCost;
}

double flatEquivalent(double grade)
{
    return runningCost(grade) / kFlatRunningCost;
}

} // namespace torvanu
