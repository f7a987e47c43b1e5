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

// Lines of log.dat that are not records: kept and written back, not shown.
inline constexpr QStringView kHiddenLinesMessage =
    u"記録ファイルには、記録として読めない行が %1 行あります。\r\n"
    u"一覧には表示しませんが、保存するときにそのまま書き戻します。";

// log.dat changed by another program since it was read.
inline constexpr QStringView kOutsideChangeMessage =
    u"記録ファイルは、読み込んだ後に\r\nほかのプログラムによって変更されています。\r\n%1";
inline constexpr QStringView kOutsideGained = u"ファイルに加わった記録：%1 件";
inline constexpr QStringView kOutsideLost =
    u"ファイルから消えた記録：%1 件（一覧には残っています）";
inline constexpr QStringView kOutsideMergeHelp =
    u"取り込む：ファイルに加わった記録を一覧の後ろに加えて保存します。";
inline constexpr QStringView kOutsideMergeDropHelp =
    u"取り込んで消す：そのうえで、ファイルから消えた記録を一覧からも消します。";
inline constexpr QStringView kOutsideKeepBothHelp =
    u"両方残す：一覧を log.dat に保存し、今のファイルは次の名前で残します：\r\n%1";
inline constexpr QStringView kOutsideCancelHelp = u"キャンセル：閉じずに一覧に戻ります。";
inline constexpr QStringView kMergeChoice = u"取り込む";
inline constexpr QStringView kMergeDropChoice = u"取り込んで消す";
inline constexpr QStringView kKeepBothChoice = u"両方残す";
inline constexpr QStringView kCancelChoice = u"キャンセル";

// A save that failed.
inline constexpr QStringView kRecoveredAtMessage =
    u"保存できなかった記録は次のファイルに控えてあります：";
inline constexpr QStringView kNoRecoveryMessage =
    u"記録の控えも保存できませんでした：\r\n%1\r\n理由：%2";
inline constexpr QStringView kUnsavedWarning =
    u"このまま終了すると、保存していない記録は失われます。";
inline constexpr QStringView kRetryChoice = u"再試行";
inline constexpr QStringView kSaveElsewhereChoice = u"別の場所に保存...";
inline constexpr QStringView kQuitChoice = u"保存せずに終了";
inline constexpr QStringView kQuitQuestion =
    u"保存していない記録は失われます。\r\n保存せずに終了しますか？";
inline constexpr QStringView kSaveElsewhereTitle = u"記録の保存先";
inline constexpr QStringView kSaveElsewhereFilter = u"記録ファイル(*.dat)";
inline constexpr QStringView kSavedElsewhereMessage = u"記録を次のファイルに保存しました：\r\n%1";
inline constexpr QStringView kReadOnlyReason = u"読み取り専用のファイルです。";
inline constexpr QStringView kNoCodecReason = u"Shift_JIS を扱えません。";
inline constexpr QStringView kNotJournalReason = u"変更の控えのファイルではありません。";
inline constexpr QStringView kEncodeReason = u"%1 行目に Shift_JIS で書けない文字があります。";
inline constexpr QStringView kUnreadableReason =
    u"ほかのプログラムが変更したファイルを読み込めないため、上書きしませんでした。";

} // namespace torvanu
