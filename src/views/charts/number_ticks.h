#pragma once

#include "views/charts/chart_data.h"

#include <span>
#include <vector>

namespace torvanu {

// The ticks of a plain number axis from low to high, at the step tickStep chooses, each
// labelled with its whole number and then unit.
std::vector<ChartTick> numberTicks(double low, double high, std::span<const double> steps,
                                   int maxTicks, const QString& unit = {});

} // namespace torvanu
