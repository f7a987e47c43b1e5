#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torvanu {

// The cumulative time at each distance (km) run at a pace of paceMinutes and paceSeconds per
// km, cut to whole seconds as h:mm:ss; a time beyond 32 bits gives the out-of-range text.
std::vector<std::u16string> splitTable(std::span<const double> distancesKm, double paceMinutes,
                                       double paceSeconds);

// A number of seconds cut to whole seconds the way every split is cut, or nothing when it
// cannot be split into hours, minutes and seconds.
std::optional<std::int64_t> wholeSeconds(double seconds);

// h:mm:ss of a whole number of seconds, hours without a leading zero.
std::u16string clockText(std::int64_t seconds);

} // namespace torvanu
