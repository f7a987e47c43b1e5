#pragma once

#include <QStringView>

namespace torvanu {

// What the pace band dialog and its sheets say.
inline constexpr QStringView kBandTitle = u"ペースバンド";
inline constexpr QStringView kBandPdfButton = u"PDF保存...";
inline constexpr QStringView kBandCsvButton = u"CSV保存...";
inline constexpr QStringView kBandPrintButton = u"印刷...";
inline constexpr QStringView kBandCloseButton = u"閉じる";

inline constexpr QStringView kBandSplitLabel = u"区切り(&K)";
inline constexpr QStringView kBandStrategyLabel = u"作戦(&S)";
inline constexpr QStringView kBandStrategyHeading = u"作戦";
inline constexpr QStringView kBandLayoutLabel = u"用紙(&Y)";
inline constexpr QStringView kBandPercentUnit = u"％";
inline constexpr QStringView kBandEveryKm = u"1kmごと";
inline constexpr QStringView kBandEveryMile = u"1マイルごと";
inline constexpr QStringView kBandEvery5Km = u"5kmごと";
inline constexpr QStringView kBandEven = u"イーブン";
inline constexpr QStringView kBandSplit = u"スプリット";
inline constexpr QStringView kBandDrift = u"ドリフト";
inline constexpr QStringView kBandNegativeSplit = u"ネガティブスプリット";
inline constexpr QStringView kBandPositiveSplit = u"ポジティブスプリット";
inline constexpr QStringView kBandSplitHint = u"－：後半が速い　＋：後半が遅い";
inline constexpr QStringView kBandDriftHint = u"＋：だんだん遅く　－：だんだん速く";
inline constexpr QStringView kBandWristband = u"リストバンド（A4横）";
inline constexpr QStringView kBandTablePage = u"一覧表（A4縦）";

inline constexpr QStringView kBandPrintNote =
    u"実寸（100％）で印刷し、切り取り線で切ってください。1本 200×28 mm";

inline constexpr QStringView kBandPlace = u"地点";
inline constexpr QStringView kBandSegment = u"区間";
inline constexpr QStringView kBandPassing = u"通過";
inline constexpr QStringView kBandPace = u"ペース(/km)";
inline constexpr QStringView kBandDistance = u"距離";
inline constexpr QStringView kBandGoal = u"目標";

inline constexpr QStringView kBandPercentMessage = u"－20～20の数値を入力してください。";
inline constexpr QStringView kBandOutOfRange =
    u"計算結果が範囲外のため、ペースバンドを作れません。";
inline constexpr QStringView kBandZeroDistance = u"距離が0のため、ペースバンドを作れません。";
inline constexpr QStringView kBandTooLong = u"距離が長すぎるため、ペースバンドを作れません。";
inline constexpr QStringView kBandNoTime = u"ゴール時間が0以下のため、ペースバンドを作れません。";
inline constexpr QStringView kBandTooManyRows = u"地点が多すぎます。区切りを長くしてください。";
inline constexpr QStringView kBandRefusedPrefix = u"計算機の入力に誤りがあります：";
inline constexpr QStringView kBandPdfWriteError = u"PDFファイル書込みエラー";

} // namespace torvanu
