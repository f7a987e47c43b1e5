#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "pace.h"
#include "race_distances.h"
#include "time_units.h"

namespace torvanu {

inline constexpr int kLapRows = 42;

// The pace and speed lines before the first fill, and when the pace cannot be split.
inline constexpr std::u16string_view kNoPaceText = u"---";

// Every text the lap table panel shows after one fill.
struct LapTable
{
    std::array<std::u16string, kLapRows> splits; // splits[k - 1]: cumulative time at k km
    std::u16string paceText;                     // « 1km =5分0秒»
    std::u16string speedText;                    // «時速 =12km»
    std::u16string half;                         // split at 21.0975 km
    std::u16string full;                         // split at 42.195 km
};

// The pace per km the lap table runs at, as its texts carry it: two decimals from the pace
// tab. Nothing when the pace cannot be split.
struct LapPace
{
    std::u16string minutesText; // whole minutes
    std::u16string secondsText; // whole seconds 0-59 and the pace's fraction: 58.61
    double minutes = 0.0;       // the texts read back
    double seconds = 0.0;

    // In the same order of operations as every split, so a row at the same distance agrees
    // to the last bit.
    double secondsPerKm() const { return minutes * kSecondsPerMinute + seconds; }
};
std::optional<LapPace> lapPace(const CalcInputs& inputs, Mode mode);

// The lap table for the active tab. Mode 1 reads the pace from inputs.minutes and
// inputs.seconds; mode 2 computes it from all five inputs. The texts must have passed the
// validation.
LapTable fullMarathonMatrix(const CalcInputs& inputs, Mode mode);

} // namespace torvanu
