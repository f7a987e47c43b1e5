#pragma once

#include <span>
#include <string_view>

#include "pace.h"

namespace torvanu {

// The calculator tabs' messages; those about the distance serve both tabs, and those about
// a distance over its unit's limit stand in the unit table.
inline constexpr std::u16string_view kDistanceNotNumericMessage =
    u"目標距離に数値を入力してください。";
inline constexpr std::u16string_view kPaceMinutesNotNumericMessage =
    u"１ｋｍペースの「分」に数値を入力してください。";
inline constexpr std::u16string_view kPaceSecondsNotNumericMessage =
    u"１ｋｍペースの「秒」に数値を入力してください。";
inline constexpr std::u16string_view kPaceMinutesTooLargeMessage =
    u"１ｋｍペースの「分」に1000以下の数値を入力してください。";
inline constexpr std::u16string_view kPaceSecondsTooLargeMessage =
    u"１ｋｍペースの「秒」に59以下の数値を入力してください。";
inline constexpr std::u16string_view kGoalHoursNotNumericMessage =
    u"ゴール時間の「時間」に数値を入力してください。";
inline constexpr std::u16string_view kGoalMinutesNotNumericMessage =
    u"ゴール時間の「分」に数値を入力してください。";
inline constexpr std::u16string_view kGoalSecondsNotNumericMessage =
    u"ゴール時間の「秒」に数値を入力してください。";
inline constexpr std::u16string_view kGoalHoursTooLargeMessage =
    u"ゴール時間の「時間」に1000以下の数値を入力してください。";
inline constexpr std::u16string_view kGoalMinutesTooLargeMessage =
    u"ゴール時間の「分」に59以下の数値を入力してください。";
inline constexpr std::u16string_view kGoalSecondsTooLargeMessage =
    u"ゴール時間の「秒」に59以下の数値を入力してください。";

// The record editor's messages.
inline constexpr std::u16string_view kRecordDistanceNotNumericMessage =
    u"距離に数値を入力してください。";

// The verdict of a validation over picker texts, for the window to apply in this order:
// set the picker `fill` to "0" (which recalculates again), focus the picker `focus`,
// then show `message` when there is one.
struct CheckOutcome
{
    int fill = -1;               // index of the picker to fill with "0", or -1
    int focus = -1;              // index of the picker to focus, or -1
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
