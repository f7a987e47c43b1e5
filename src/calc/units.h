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

// The captions of the unit buttons; a unit is matched by exact text.
inline constexpr std::u16string_view kKmText = u"km";
inline constexpr std::u16string_view kMetreText = u"m";
inline constexpr std::u16string_view kMileText = u"ﾏｲﾙ";

inline constexpr double kMetresPerKm = 1000.0;
inline constexpr double kKmPerMile = 1.609344;

std::optional<Unit> unitFromText(std::u16string_view text);
std::u16string_view unitText(Unit unit);

// km -> m -> ﾏｲﾙ -> km. Any other text starts the cycle again at "km".
std::u16string_view nextUnitText(std::u16string_view text);

} // namespace torvanu
