#include "views/charts/number_ticks.h"

#include "views/charts/time_ticks.h"

#include <cmath>

namespace torvanu {

std::vector<ChartTick> numberTicks(double low, double high, std::span<const double> steps,
                                   int maxTicks, const QString& unit)
{
    std::vector<ChartTick> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || !(high >= low))
        return ticks;
    const double step = tickStep(high - low, steps, maxTicks);
    for (double value = std::ceil(low / step) * step; value <= high; value += step)
        ticks.push_back({value, QString::number(value + 0.0, 'f', 0) + unit}); // no "-0"
    return ticks;
}

} // namespace torvanu
