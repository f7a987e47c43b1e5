#pragma once

#include <QStringView>

namespace torvanu {

// Captions of the main window, exactly as the program shows them.
inline constexpr QStringView kTabGoalTime = u"ゴール時間算出";
inline constexpr QStringView kTabPace = u"1kmペース算出";
inline constexpr QStringView kInitialResult = u"00時間 00分 00秒";
inline constexpr QStringView kFrameDistance = u"目標距離";
inline constexpr QStringView kFramePace = u"１km のペース";
inline constexpr QStringView kMinuteLabel = u"分";
inline constexpr QStringView kSecondLabel = u"秒";
inline constexpr QStringView kGoalTimeHeading = u"▼ゴール時間";
inline constexpr QStringView kFrameGoalTime = u"ゴール時間";
inline constexpr QStringView kHourLabel = u"時間";
inline constexpr QStringView kPaceHeading = u"▼１km のペース";
inline constexpr QStringView kHalfCaption = u"  ﾊｰﾌ";
inline constexpr QStringView kFullCaption = u" フル";
inline constexpr QStringView kLapHeading = u"▼フルマラソンにおけるラップタイム";
inline constexpr QStringView kMenuMenu = u"メニュー(&M)";
inline constexpr QStringView kMenuDetail = u"詳細表示(&D)";
inline constexpr QStringView kMenuTools = u"ツール(&T)";
inline constexpr QStringView kMenuAnalysis = u"記録分析(&A)...";
inline constexpr QStringView kMenuPaceBand = u"ペースバンド(&P)...";
inline constexpr QStringView kMenuHelp = u"ヘルプ(&H)";
inline constexpr QStringView kMenuOnlineHelp = u"オンラインヘルプ(&H)";
inline constexpr QStringView kMenuReadme = u"readme.txt(&R)";
inline constexpr QStringView kMenuVersion = u"バージョン情報(&A)";
inline constexpr QStringView kMenuEnd = u"終了(&X)";
inline constexpr QStringView kCsvButton = u"CSV";
inline constexpr QStringView kInitialDistance = u"42.195";

} // namespace torvanu
