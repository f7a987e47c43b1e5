#pragma once

#include "views/charts/image_texts.h"

#include <QStringView>

namespace torvanu {

// Captions of the record analysis window, exactly as it shows them.
inline constexpr QStringView kAnalysisTitle = u"記録分析";
inline constexpr QStringView kBestFrame = u"自己ベスト";
inline constexpr QStringView kYearFrame = u"年別ベスト";
inline constexpr QStringView kTrendFrame = u"推移";
inline constexpr QStringView kPredictionFrame = u"予測";
inline constexpr QStringView kUnreadableFrame = u"読み取れない記録";
inline constexpr QStringView kTargetButton = u"目標にする";

inline constexpr QStringView kEventHeader = u"種目";
inline constexpr QStringView kBestHeader = u"自己ベスト";
inline constexpr QStringView kPaceHeader = u"1kmペース";
inline constexpr QStringView kDateHeader = u"日付";
inline constexpr QStringView kRaceHeader = u"大会名";
inline constexpr QStringView kCountHeader = u"回数";
inline constexpr QStringView kYearHeader = u"年";
inline constexpr QStringView kNoHeader = u"No";
inline constexpr QStringView kReasonHeader = u"理由";
inline constexpr QStringView kRiegelHeader = u"Riegel";
inline constexpr QStringView kCameronHeader = u"Cameron";
inline constexpr QStringView kDanielsHeader = u"Daniels";
inline constexpr QStringView kOwnHeader = u"本人の指数";
inline constexpr QStringView kSpreadHeader = u"差";

inline constexpr QStringView kTrendYearAxis = u"年";
inline constexpr QStringView kTrendTimeAxisHours = u"タイム（時:分:秒）";
inline constexpr QStringView kTrendTimeAxisMinutes = u"タイム（分:秒）";

inline constexpr QStringView kEmptyChart = u"記録がありません";
inline constexpr QStringView kNoPredictionSource = u"予測のもとになる3km以上の記録がありません";

// The fastest stretches found inside the races' data files.
inline constexpr QStringView kEffortFrame = u"区間ベスト";
inline constexpr QStringView kEffortHeader = u"区間ベスト";
inline constexpr QStringView kEffortStartHeader = u"開始";
inline constexpr QStringView kEffortReading = u"データファイルを読み込み中… %1 / %2件";
inline constexpr QStringView kEffortRead = u"データファイル %1件から";
inline constexpr QStringView kEffortSkipped = u"（読めないファイル %1件）";
inline constexpr QStringView kEffortNoFiles = u"データファイルのある記録がありません";

} // namespace torvanu
