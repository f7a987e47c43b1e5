#include "split_table.h"

#include "clock_text.h"
#include "pace.h"

namespace torvanu {

std::vector<std::u16string> splitTable(std::span<const double> distancesKm, double paceMinutes,
                                       double paceSeconds)
{
    std::vector<std::u16string> splits;
    splits.reserve(distancesKm.size());
    for (const double km : distancesKm) {
        std::u16string& text = splits.emplace_back();
        appendWholeClock(text, splitSeconds(secondsValue(km, Unit::Km, 0.0, paceMinutes,
                                                         paceSeconds, Mode::GoalTime)));
    }
    return splits;
}

} // namespace torvanu
