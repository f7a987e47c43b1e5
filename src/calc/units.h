#pragma once

#include <optional>
#include <string_view>

namespace torvanu {

enum class Unit
{
    Km,
    M,
    Mile
};

// The captions of the unit buttons and the unit labels of the cells; a unit is matched by
// exact text. A window holds its unit as a Unit and draws the caption from it.
inline constexpr std::u16string_view kKmText = u"km";
inline constexpr std::u16string_view kMetreText = u"m";
inline constexpr std::u16string_view kMileText = u"ﾏｲﾙ";

std::optional<Unit> unitFromText(std::u16string_view text);
std::u16string_view unitText(Unit unit);

// km -> m -> ﾏｲﾙ -> km.
Unit nextUnit(Unit unit);

} // namespace torvanu
