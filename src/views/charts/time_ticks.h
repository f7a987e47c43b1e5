#pragma once

#include "views/charts/chart_data.h"

#include <span>
#include <vector>

namespace torvanu {

// The step between the ticks of a span: the first of the steps, smallest first, that leaves
// at most maxTicks; past the last, whole multiples of it, so that any span stays at maxTicks.
double tickStep(double span, std::span<const double> steps, int maxTicks);

// The ticks of a time axis from low to high at that step, each labelled with its time.
std::vector<ChartTick> timeTicks(double low, double high, std::span<const double> steps,
                                 int maxTicks);

} // namespace torvanu
