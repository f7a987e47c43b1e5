#pragma once

namespace torvanu {

// The two road distances the lap table marks and the record analysis classes races by.
inline constexpr double kHalfMarathonKm = 21.0975;
inline constexpr double kFullMarathonKm = 42.195;

} // namespace torvanu
