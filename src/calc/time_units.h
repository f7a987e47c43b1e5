#pragma once

namespace torvanu {

// The clock's own factors, named once for every calculation and every text of a time.
inline constexpr int kSecondsPerMinute = 60;
inline constexpr int kMinutesPerHour = 60;
inline constexpr int kSecondsPerHour = kSecondsPerMinute * kMinutesPerHour;

} // namespace torvanu
