#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "clock_split.h"

namespace torvanu {

// Every time the program shows as a clock, and the rules that bring a time to whole seconds
// first. Which rule a window uses is part of what it promises its user:
// - cut: the calculator, the lap table and the pace band drop every fraction, after reading
//   the value to 15 digits as the result box shows it (3599.9999999999995 is the hour);
// - rounded: the analysis and the race detail round half up;
// - rounded up: a race result from a watch's file, as road races give their results.

// The value split into hours, minutes and seconds by the cut rule, with its first two
// decimals cut; out of range beyond 32 bits of whole seconds or for no finite value.
ClockSplit splitSeconds(double value);

// Whole seconds by the cut rule, or nothing when the value cannot be split.
std::optional<std::int64_t> cutSeconds(double seconds);

// Whole seconds rounded half up.
double roundedSeconds(double seconds);

// Whole seconds rounded up, a hair of float noise above a whole second not counting; nothing
// from a billion seconds on, which no race lasts and no integer must overflow with.
std::optional<std::int64_t> roundedUpSeconds(double seconds);

// h:mm:ss of the split without the fraction, or the out-of-range text. The parts keep their
// signs, as the calculator has always shown a negative time.
void appendWholeClock(std::u16string& out, const ClockSplit& split);

// The split's cut fraction, "." and at most two digits, or nothing.
void appendFraction(std::u16string& out, const ClockSplit& split);

// The result box's words for the split with its fraction: «3時間 30分 58秒 .5», the hours
// left out when there are none.
void appendClockWords(std::u16string& out, const ClockSplit& split);

// h:mm:ss of a count of seconds, at least zero, hours without a leading zero: "3:05:09".
std::u16string clockText(std::int64_t seconds);

// The same, but m:ss under an hour: "45:09".
std::u16string shortClockText(std::int64_t seconds);

// m:ss with every minute counted, as a pace is read: "75:00".
std::u16string minuteClockText(std::int64_t seconds);

} // namespace torvanu
