#pragma once

#include <QStringView>

namespace torvanu {

// Captions and messages of the race detail window, exactly as it shows them.
inline constexpr QStringView kRaceDetailEntry = u"レース詳細(&R)...";
inline constexpr QStringView kRaceDetailTitle = u"レース詳細";
inline constexpr QStringView kSplitFrame = u"1kmごとのラップ";
inline constexpr QStringView kPaceFrame = u"1kmごとのペース";

inline constexpr QStringView kPointHeader = u"地点";
inline constexpr QStringView kPassingHeader = u"通過";
inline constexpr QStringView kLapHeader = u"ラップ";
inline constexpr QStringView kAgainstEvenHeader = u"均等ペースとの差";

inline constexpr QStringView kNoDataFile = u"この記録にはデータファイルが指定されていません。";
inline constexpr QStringView kNoSplits =
    u"このファイルには、ラップを出せる時刻と距離の記録がありません";
inline constexpr QStringView kShortTrack = u"1kmに満たない記録です";

// The fastest stretches inside the race.
inline constexpr QStringView kEffortFrame = u"区間ベスト";
inline constexpr QStringView kEffortDistanceHeader = u"距離";
inline constexpr QStringView kEffortTimeHeader = u"タイム";
inline constexpr QStringView kEffortPaceHeader = u"ペース";
inline constexpr QStringView kEffortStartHeader = u"開始";

} // namespace torvanu
