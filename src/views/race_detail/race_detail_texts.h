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

inline constexpr QStringView kHeartRateHeader = u"心拍";
inline constexpr QStringView kAscentHeader = u"上り";
inline constexpr QStringView kDescentHeader = u"下り";
inline constexpr QStringView kAdjustedPaceHeader = u"調整ペース";

// The summary of the race: %1 distance, %2 time, %3 average pace; then the lines of what the
// file's channels say, each part only where the file has the channel.
inline constexpr QStringView kSummaryTotals = u"距離 %1　タイム %2　平均ペース %3";
inline constexpr QStringView kSummaryHeartRate = u"平均心拍 %1拍/分　最大心拍 %2拍/分";
inline constexpr QStringView kSummaryClimb = u"上り %1m　下り %2m";
inline constexpr QStringView kSummaryCadence = u"平均ピッチ %1歩/分";
inline constexpr QStringView kSummarySeparator = u"　";
// The channels a file lacks, in one line: %1 their names joined by kChannelJoin.
inline constexpr QStringView kMissingChannels = u"このファイルには%1の記録がありません。";
inline constexpr QStringView kChannelJoin = u"・";
inline constexpr QStringView kHeartRateChannel = u"心拍";
inline constexpr QStringView kAltitudeChannel = u"高度";
inline constexpr QStringView kCadenceChannel = u"ピッチ";

inline constexpr QStringView kSaveCsvButton = u"CSV保存...";
inline constexpr QStringView kSplitCsvName = u"ラップ";
inline constexpr QStringView kCsvWriteFailed = u"CSVファイルを保存できませんでした。";

inline constexpr QStringView kNoDataFile = u"この記録にはデータファイルが指定されていません。";
inline constexpr QStringView kNoSplits =
    u"このファイルには、ラップを出せる時刻と距離の記録がありません";
inline constexpr QStringView kShortTrack = u"1kmに満たない記録です";

// The profile, the course and the picture of both.
inline constexpr QStringView kProfileFrame = u"標高と心拍";
inline constexpr QStringView kElevationSeries = u"標高(m)";
inline constexpr QStringView kHeartRateSeries = u"心拍(拍/分)";
inline constexpr QStringView kNoProfile = u"このファイルには標高と心拍の記録がありません。";
inline constexpr QStringView kNoElevation = u"このファイルには標高の記録がありません。";
inline constexpr QStringView kNoHeartRate = u"このファイルには心拍の記録がありません。";
inline constexpr QStringView kDistanceAxis = u"距離(km)";
inline constexpr QStringView kPaceAxis = u"ペース(/km)";
inline constexpr QStringView kCourseFrame = u"コース";
inline constexpr QStringView kNoCourse = u"このファイルには位置の記録がありません。";
inline constexpr QStringView kStartMark = u"スタート";
inline constexpr QStringView kFinishMark = u"ゴール";
inline constexpr QStringView kSlowEnd = u"遅";
inline constexpr QStringView kFastEnd = u"速";
// The fastest stretches inside the race.
inline constexpr QStringView kEffortFrame = u"区間ベスト";
inline constexpr QStringView kEffortDistanceHeader = u"距離";
inline constexpr QStringView kEffortTimeHeader = u"タイム";
inline constexpr QStringView kEffortPaceHeader = u"ペース";
inline constexpr QStringView kEffortStartHeader = u"開始";

} // namespace torvanu
