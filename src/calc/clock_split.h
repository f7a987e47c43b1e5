#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "pace.h"

namespace torvanu {

// A number of seconds split into the parts the result texts are made of.
struct ClockSplit
{
    CalcStatus status = CalcStatus::Ok;
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    std::array<char16_t, 3> fraction{}; // "." and at most two digits, cut, never rounded
    int fractionLength = 0;
};

// The seconds value of one calculation, with the operations in the order that decides its
// last bit. The distance must not be zero.
double secondsValue(double distance, Unit unit, double hours, double minutes, double seconds,
                    Mode mode);

} // namespace torvanu
