#pragma once

#include <span>
#include <string_view>

#include "pace.h"

namespace torvanu {

// The verdict of a validation over picker texts, for the window to apply in this order:
// set the picker `fill` to "0" (which recalculates again), focus the picker `focus`,
// then show `message` when there is one.
struct CheckOutcome
{
    int fill = -1;  // index of the picker to fill with "0", or -1
    int focus = -1; // index of the picker to focus, or -1
    std::u16string_view message; // empty: the inputs may be used

    bool accepted() const { return message.empty(); }
};

// Mode 1 pickers: 0 distance, 1 pace minutes, 2 pace seconds.
// Mode 2 pickers: 0 distance, 1 goal hours, 2 goal minutes, 3 goal seconds.
CheckOutcome checkInputs(Mode mode, std::span<const std::u16string_view> texts,
                         std::u16string_view unit);

// The record editor's distance check; picker 0 is the distance field.
CheckOutcome checkRecordDistance(std::u16string_view distance, std::u16string_view unit);

} // namespace torvanu
