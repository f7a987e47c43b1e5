#pragma once

#include <QStringView>

#include <array>

namespace torvanu {

// The columns of the import window's table, in order.
inline constexpr std::array<QStringView, 9> kHistoryColumns = {
    u"取込", u"日付", u"種目", u"距離", u"タイム", u"1kmペース", u"該当種目", u"名前", u"状態"};

inline constexpr QStringView kStateNew = u"新規";
inline constexpr QStringView kStateRecorded = u"記録済み";
inline constexpr QStringView kStateUnreadable = u"読めない";

} // namespace torvanu
