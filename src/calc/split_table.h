#pragma once

#include <span>
#include <string>
#include <vector>

namespace torvanu {

// The cumulative time at each distance (km) run at a pace of paceMinutes and paceSeconds per
// km, cut to whole seconds as h:mm:ss; a time beyond 32 bits gives the out-of-range text.
std::vector<std::u16string> splitTable(std::span<const double> distancesKm, double paceMinutes,
                                       double paceSeconds);

} // namespace torvanu
