#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace torvanu {

enum class Unit
{
    Km,
    M,
    Mile
};

inline constexpr double kMetresPerKm = 1000.0;
inline constexpr double kKmPerMile = 1.609344;

// Everything the program knows of a distance unit. A window holds its unit as a Unit and
// draws the caption from here; a unit text is matched exactly.
struct UnitFacts
{
    Unit unit;
    std::u16string_view text;             // the unit button's caption, and how a distance cell ends
    double kilometres;                    // one of it, in km
    double limit;                         // the largest distance a picker accepts in it
    std::u16string_view overLimitMessage; // the calculator's
    std::u16string_view recordOverLimitMessage; // the record editor's
};

// In the order the unit button cycles through them: km -> m -> ﾏｲﾙ -> km.
inline constexpr std::array<UnitFacts, 3> kUnits{{
    {Unit::Km, u"km", 1.0, 10000.0, u"目標距離は10000km以下の数値を入力してください。",
     u"距離は10000km以下の数値を入力してください。"},
    {Unit::M, u"m", 1.0 / kMetresPerKm, 1000000.0,
     u"目標距離は1000000m以下の数値を入力してください。",
     u"距離は1000000m以下の数値を入力してください。"},
    {Unit::Mile, u"ﾏｲﾙ", kKmPerMile, 10000.0, u"目標距離は10000ﾏｲﾙ以下の数値を入力してください。",
     u"距離は10000ﾏｲﾙ以下の数値を入力してください。"},
}};

constexpr const UnitFacts& unitFacts(Unit unit)
{
    for (const UnitFacts& facts : kUnits) {
        if (facts.unit == unit)
            return facts;
    }
    return kUnits[0];
}

constexpr std::u16string_view unitText(Unit unit)
{
    return unitFacts(unit).text;
}

inline constexpr std::u16string_view kKmText = unitText(Unit::Km);
inline constexpr std::u16string_view kMetreText = unitText(Unit::M);
inline constexpr std::u16string_view kMileText = unitText(Unit::Mile);

std::optional<Unit> unitFromText(std::u16string_view text);

// The next unit in the button's cycle.
Unit nextUnit(Unit unit);

// A distance given in unit, converted with the operations in the order the pace arithmetic
// and the plans rely on to the last bit.
double kilometres(double distance, Unit unit);
double metres(double distance, Unit unit);

} // namespace torvanu
