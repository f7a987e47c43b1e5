#pragma once

#include <QStringView>

namespace torvanu {

// How every failure names its file and its cause, beneath the window's own message.
// %1: the file, %2: the cause.
inline constexpr QStringView kNotWrittenMessage = u"書き込めなかったファイル：\r\n%1\r\n理由：%2";
inline constexpr QStringView kNotReadMessage = u"読み込めなかったファイル：\r\n%1\r\n理由：%2";
// When the system gives no wording of its own.
inline constexpr QStringView kUnknownReason = u"書き込みに失敗しました。";
inline constexpr QStringView kUnknownReadReason = u"読み込みに失敗しました。";
inline constexpr QStringView kUnencodableReason =
    u"保存できない文字「%1」が含まれているため、保存しませんでした。";

} // namespace torvanu
