#pragma once

namespace torvanu {

// The clock's own factors, named once for every calculation and every text of a time.
inline constexpr int kSecondsPerMinute = 60;
inline constexpr int kMinutesPerHour = 60;
inline constexpr int kSecondsPerHour = kSecondsPerMinute * kMinutesPerHour;
inline constexpr int kHoursPerDay = 24;
inline constexpr int kSecondsPerDay = kSecondsPerHour * kHoursPerDay;

} // namespace torvanu
