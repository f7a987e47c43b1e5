#pragma once

#include <string>
#include <string_view>

#include "units.h"

namespace torvanu {

// 1: goal time from a pace per kilometre; 2: pace per kilometre from a goal time.
enum class Mode
{
    GoalTime = 1,
    Pace = 2
};

enum class CalcStatus
{
    Ok,
    ZeroDistance, // display "---", empty compact text
    OutOfRange,   // the seconds cannot be split into hours, minutes and seconds
};

// What the result boxes and the lap table show when a value cannot be split.
inline constexpr std::u16string_view kOutOfRangeText = u"範囲外";
inline constexpr std::u16string_view kZeroDistanceText = u"---";

struct CalcResult
{
    CalcStatus status = CalcStatus::Ok;
    std::u16string display; // for the result box: «3時間 30分 58秒 .5», "---" or kOutOfRangeText
    std::u16string compact; // h:mm:ss with a cut fraction: «3:30:58.5»; empty for a zero distance
};

struct CalcInputs
{
    std::u16string_view distance;
    std::u16string_view unit;
    std::u16string_view hours;   // mode 2 only
    std::u16string_view minutes; // pace minutes (mode 1) or goal minutes (mode 2)
    std::u16string_view seconds; // pace seconds (mode 1) or goal seconds (mode 2)
};

// The texts must have passed the validation and the unit must be one of the three captions.
CalcResult calc(const CalcInputs& inputs, Mode mode);

// The same with numbers already read.
CalcResult calc(double distance, Unit unit, double hours, double minutes, double seconds,
                Mode mode);

} // namespace torvanu
