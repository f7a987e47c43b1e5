#include "views/charts/time_ticks.h"

#include "analysis/time_text.h"
#include "storage/text_bridge.h"

#include <cmath>

namespace torvanu {

double tickStep(double span, std::span<const double> steps, int maxTicks)
{
    for (const double candidate : steps) {
        if (span / candidate <= maxTicks)
            return candidate;
    }
    // A hand-kept book may hold a second and a million hours in one class, and a watch may
    // have run on for a day in one km: a tick every largest step across that would be
    // hundreds of thousands of labels to paint.
    return steps.back() * std::ceil(span / (maxTicks * steps.back()));
}

std::vector<ChartTick> timeTicks(double low, double high, std::span<const double> steps,
                                 int maxTicks)
{
    const double step = tickStep(high - low, steps, maxTicks);
    std::vector<ChartTick> ticks;
    for (double value = std::ceil(low / step) * step; value <= high; value += step)
        ticks.push_back({value, toQString(timeText(value))});
    return ticks;
}

} // namespace torvanu
