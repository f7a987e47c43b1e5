#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace torvanu {

// The name Qt gives ICU for Microsoft's code page 932: Shift_JIS with the vendor extensions
// (①, ～, NEC and IBM kanji) that Japanese Windows writes. log.dat and the CSV files use it.
inline constexpr const char* kCodePage932 = "windows-31j";

// Index of the first character (a surrogate pair counts as one) that code page 932 cannot
// hold, or nothing when a file can keep the whole text. A character the codec drops or swaps
// for another without reporting it counts as one it cannot hold.
std::optional<qsizetype> firstUnstorableIndex(QStringView text);

// The whole character at index, both halves of a surrogate pair included.
QString characterAt(QStringView text, qsizetype index);

} // namespace torvanu
