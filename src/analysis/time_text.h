#pragma once

#include <string>

namespace torvanu {

// Whole seconds, rounded half up: h:mm:ss, or m:ss under an hour ("3:38:47", "45:09").
// Empty for a value that is no duration (negative, infinite or not a number).
std::u16string timeText(double seconds);

// How far a time lies from a reference time: "+1:05", "-0:12", "±0:00".
std::u16string differenceText(double seconds, double reference);

} // namespace torvanu
