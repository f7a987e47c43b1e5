#pragma once

#include "calc/units.h"

#include <optional>
#include <string_view>

namespace torvanu {

// Why a row of the record book takes no part in the analysis. Nothing is guessed: a cell
// that does not read cleanly keeps its row out.
enum class RowProblem
{
    DistanceUnreadable, // no unit label at the end, or no number before it
    DistanceNotPositive,
    DistanceTooLong, // longer than the editor lets anyone type
    TimeUnreadable,  // markers missing or out of order, or minutes or seconds above 59
    TimeZero,
    DateUnreadable,
    YearOutOfRange,
};

struct RaceDate
{
    int year = 0;
    int month = 0;
    int day = 0;

    // Days since 1970-01-01; a day past the end of its month (the editor lets one pick
    // 31 with 02) counts on into the next month.
    int dayNumber() const;

    friend auto operator<=>(const RaceDate&, const RaceDate&) = default;
};

template <typename T> struct CellReading
{
    T value{};
    std::optional<RowProblem> problem;

    bool ok() const { return !problem.has_value(); }
};

// The years a race date may carry: wider than the editor's year picker, so that books kept
// by hand before it still read, but no year 9999.
inline constexpr int kFirstRaceYear = 1900;
inline constexpr int kLastRaceYear = 2100;

// The longest distance the editor accepts, 10000 miles, in metres.
inline constexpr double kLongestRaceMetres = 10000.0 * kKmPerMile * kMetresPerKm;

// "42.195km", "5 km", "5000m", "26.2ﾏｲﾙ": a number text followed by the unit label. Metres.
CellReading<double> readDistanceCell(std::u16string_view cell);

// " 3時間45分10秒", "  45分 9秒", "3時間5分0秒", "10時間 0分 0秒". Seconds.
CellReading<double> readTimeCell(std::u16string_view cell);

// "2006年11月19日"; hand-kept books may hold "2007年2月7日".
CellReading<RaceDate> readDateCell(std::u16string_view cell);

} // namespace torvanu
