#pragma once

#include <QStringView>

namespace torvanu {

// What the record book says about the changes kept since the last save. %1: a count or a path.
inline constexpr QStringView kUnsavedChangesFound =
    u"前回は Torvanu が正しく終了しなかったため、\r\n保存されていない変更が %1 件あります。";
inline constexpr QStringView kUnsavedChangesTorn =
    u"最後の変更は途中までしか書き込まれていなかったため、\r\nその前までの変更が対象です。";
inline constexpr QStringView kRestoreQuestion =
    u"これらの変更を復元しますか？\r\n（「いいえ」を選ぶと、記録ファイルは前回保存したときのままに"
    u"なります）";
inline constexpr QStringView kUnsavedChangesKept =
    u"保存されていない変更は、次のファイルに残してあります：";
inline constexpr QStringView kBookChangedSince =
    u"その後に記録ファイルが変更されているため、\r\nこれらの変更は復元できません。";
inline constexpr QStringView kJournalUnreadable =
    u"前回保存されなかった変更の記録を読み込めませんでした。";
inline constexpr QStringView kRestoredPartly = u"復元できたのは %1 件中 %2 件です。";
inline constexpr QStringView kJournalWriteFailed =
    u"変更の控えを次のファイルに書き込めませんでした。\r\nこのまま続けられますが、Torvanu "
    u"が異常終了すると、\r\n保存していない変更は失われます。";

} // namespace torvanu
