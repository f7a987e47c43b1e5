#pragma once

#include <QFont>
#include <QStringView>

namespace torvanu {

// The typeface every window of the program names. No Linux desktop has it under this name,
// so the start-up maps it onto an installed Japanese font.
inline constexpr QStringView kProgramFontFamily = u"ＭＳ ゴシック";

// Maps the program's typeface onto the Japanese fonts a Linux desktop has, and remembers the
// first one installed so later fonts name it directly.
void installFontSubstitutions();

// The program's typeface at a given size.
QFont programFont(qreal points, bool bold = false);

} // namespace torvanu
