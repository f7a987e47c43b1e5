#pragma once

#include "calc/units.h"

#include <optional>
#include <string>
#include <string_view>

namespace torvanu {

// The cells of the record book as the record editor writes them, and the two ways they are
// read back: split into the editor's picker entries (lenient, so a hand-kept cell still opens
// in the editor), and as values (strict, so the analysis never guesses). Both readings agree on
// every cell the editor can write.

// The editor's year picker.
inline constexpr int kFirstYear = 1980;
inline constexpr int kLastYear = 2100;

// The years a race date may carry when read as a value: wider than the editor's year picker,
// so that books kept by hand before it still read, but no year 9999.
inline constexpr int kFirstRaceYear = 1900;
inline constexpr int kLastRaceYear = 2100;

// The longest distance the editor accepts, 10000 miles, in metres.
inline constexpr double kLongestRaceMetres = 10000.0 * kKmPerMile * kMetresPerKm;

struct DateCellParts
{
    std::u16string year;
    std::u16string month;
    std::u16string day;

    friend bool operator==(const DateCellParts&, const DateCellParts&) = default;
};

struct DistanceCellParts
{
    std::u16string distance;
    Unit unit = Unit::M;

    friend bool operator==(const DistanceCellParts&, const DistanceCellParts&) = default;
};

struct TimeCellParts
{
    std::u16string hours;
    std::u16string minutes;
    std::u16string seconds;

    friend bool operator==(const TimeCellParts&, const TimeCellParts&) = default;
};

// "2006年11月19日" from "2006", "11", "19".
std::u16string composeDateCell(const DateCellParts& date);
// Nothing when a marker is missing; the parts are not checked against the pickers.
std::optional<DateCellParts> splitDateCell(std::u16string_view cell);

// "42.195km" from "42.195" and km.
std::u16string composeDistanceCell(const DistanceCellParts& distance);
// Never fails: a cell without a unit text is in metres.
DistanceCellParts splitDistanceCell(std::u16string_view cell);

// " 3時間45分10秒", or "  45分 9秒" under an hour.
std::u16string composeTimeCell(const TimeCellParts& time);
// Nothing when the minutes marker is missing; the parts are not checked against the pickers.
std::optional<TimeCellParts> splitTimeCell(std::u16string_view cell);

// Removes pairs of adjacent blanks, taken from the left without overlap: three blanks leave
// one. This is how a time under one hour loses its two-blank prefix.
std::u16string removeBlankPairs(std::u16string_view text);

// Why a row of the record book takes no part in the analysis. Nothing is guessed: a cell
// that does not read cleanly keeps its row out.
enum class RowProblem
{
    DistanceUnreadable, // no number before the unit label
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

// "42.195km", "5 km", "5000m", "26.2ﾏｲﾙ", and "5000" in metres as the editor reads it. Metres.
CellReading<double> readDistanceCell(std::u16string_view cell);

// " 3時間45分10秒", "  45分 9秒", "3時間5分0秒", "10時間 0分 0秒". Seconds.
CellReading<double> readTimeCell(std::u16string_view cell);

// "2006年11月19日"; hand-kept books may hold "2007年2月7日".
CellReading<RaceDate> readDateCell(std::u16string_view cell);

} // namespace torvanu
