#pragma once

#include <QStringView>

namespace torvanu {

// What the record book says to the user, exactly as shown.
inline constexpr QStringView kChangedQuestionFirst = u"大会記録データが変更されています。";
inline constexpr QStringView kChangedQuestionSecond = u"変更を保存しますか？";
inline constexpr QStringView kReadFailedMessage =
    u"大会結果リストのファイル読込中にエラーが発生しました。";
inline constexpr QStringView kSaveFailedMessage =
    u"大会結果リストのファイル保存中にエラーが発生しました。";
inline constexpr QStringView kDeleteNoSelectionMessage = u"削除するリストを選択してください。";
inline constexpr QStringView kDeleteQuestion = u"選択しているリストを削除しても宜しいですか？";
inline constexpr QStringView kEditNoSelectionMessage = u"変更するリストを選択してください。";
inline constexpr QStringView kAscendingMark = u"▲";
inline constexpr QStringView kDescendingMark = u"▼";
inline constexpr QStringView kNewCaption = u"新規";
inline constexpr QStringView kEditCaption = u"変更";
inline constexpr QStringView kDeleteCaption = u"削除";
inline constexpr QStringView kUpCaption = u"↑";
inline constexpr QStringView kDownCaption = u"↓";

} // namespace torvanu
