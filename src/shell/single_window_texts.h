#pragma once

#include <QStringView>

namespace torvanu {

// What a second start on the same record book says. %1: the book's path.
inline constexpr QStringView kAlreadyOpenRaised =
    u"この記録ファイル（%1）はすでに Torvanu で開いています。そのウィンドウを前面に出しました。";
inline constexpr QStringView kAlreadyOpenSilent =
    u"この記録ファイルは別の Torvanu で開かれていますが、応答がありません。\r\n%1\r\n"
    u"その Torvanu を終了してから、もう一度起動してください。";

} // namespace torvanu
