#pragma once

#include <QStringView>

namespace torvanu {

// Captions of the main window that other windows name too: the race detail tells where to
// choose a race, and the pace band's CSV save fails with the main window's message.
inline constexpr QStringView kDetailCheck = u"詳細表示";
inline constexpr QStringView kRecordListCaption = u"大会記録一覧";
inline constexpr QStringView kCsvWriteError = u"CSVファイル書込みエラー";

} // namespace torvanu
