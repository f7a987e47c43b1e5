#include "race_cells.h"

#include "calc/number_text.h"
#include "calc/units.h"

#include <algorithm>
#include <cstdint>

namespace torvanu {

namespace {

constexpr std::u16string_view kHoursMark = u"時間";
constexpr std::u16string_view kMinutesMark = u"分";
constexpr std::u16string_view kSecondsMark = u"秒";
constexpr std::u16string_view kYearMark = u"年";
constexpr std::u16string_view kMonthMark = u"月";
constexpr std::u16string_view kDayMark = u"日";

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
constexpr int kMonths = 12;
constexpr int kLongestMonth = 31;
// A part with more digits is no time anyone ran; it also keeps the sum exact.
constexpr std::size_t kMaxDigits = 6;

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\u3000';
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole number of ASCII or full-width digits, blanks around it allowed.
std::optional<std::int64_t> readWhole(std::u16string_view text)
{
    text = trimmed(text);
    if (text.empty() || text.size() > kMaxDigits)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char16_t c : text) {
        int digit = 0;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'\uFF10' && c <= u'\uFF19')
            digit = c - u'\uFF10';
        else
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

template <typename T> CellReading<T> failed(RowProblem problem)
{
    return {T{}, problem};
}

} // namespace

int RaceDate::dayNumber() const
{
    // Days from the civil calendar, counted from a March-based year so the leap day is last.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CellReading<double> readDistanceCell(std::u16string_view cell)
{
    const std::u16string_view text = trimmed(cell);
    // The unit table lists "km" before "m": a kilometre cell also ends in "m".
    const auto facts = std::find_if(kUnits.begin(), kUnits.end(), [text](const UnitFacts& unit) {
        return text.ends_with(unit.text);
    });
    if (facts == kUnits.end())
        return failed<double>(RowProblem::DistanceUnreadable);
    const std::optional<double> value =
        readNumber(text.substr(0, text.size() - facts->text.size()));
    if (!value)
        return failed<double>(RowProblem::DistanceUnreadable);
    const double length = metres(*value, facts->unit);
    if (!(length > 0.0))
        return failed<double>(RowProblem::DistanceNotPositive);
    if (length > kLongestRaceMetres)
        return failed<double>(RowProblem::DistanceTooLong);
    return {length, std::nullopt};
}

CellReading<double> readTimeCell(std::u16string_view cell)
{
    std::u16string_view text = trimmed(cell);
    if (!text.ends_with(kSecondsMark))
        return failed<double>(RowProblem::TimeUnreadable);
    text.remove_suffix(kSecondsMark.size());

    const std::size_t minutesEnd = text.find(kMinutesMark);
    if (minutesEnd == std::u16string_view::npos)
        return failed<double>(RowProblem::TimeUnreadable);
    const std::size_t hoursEnd = text.find(kHoursMark);
    std::optional<std::int64_t> hours = 0;
    std::size_t minutesStart = 0;
    if (hoursEnd != std::u16string_view::npos) {
        if (hoursEnd > minutesEnd)
            return failed<double>(RowProblem::TimeUnreadable);
        hours = readWhole(text.substr(0, hoursEnd));
        minutesStart = hoursEnd + kHoursMark.size();
    }
    const auto minutes = readWhole(text.substr(minutesStart, minutesEnd - minutesStart));
    const auto seconds = readWhole(text.substr(minutesEnd + kMinutesMark.size()));
    if (!hours || !minutes || !seconds || *minutes >= kSecondsPerMinute ||
        *seconds >= kSecondsPerMinute)
        return failed<double>(RowProblem::TimeUnreadable);

    const std::int64_t total = *hours * kSecondsPerHour + *minutes * kSecondsPerMinute + *seconds;
    if (total == 0)
        return failed<double>(RowProblem::TimeZero);
    return {static_cast<double>(total), std::nullopt};
}

CellReading<RaceDate> readDateCell(std::u16string_view cell)
{
    const std::u16string_view text = trimmed(cell);
    const std::size_t yearEnd = text.find(kYearMark);
    const std::size_t monthEnd = text.find(kMonthMark);
    if (yearEnd == std::u16string_view::npos || monthEnd == std::u16string_view::npos ||
        monthEnd < yearEnd || !text.ends_with(kDayMark))
        return failed<RaceDate>(RowProblem::DateUnreadable);

    const std::size_t monthStart = yearEnd + kYearMark.size();
    const std::size_t dayStart = monthEnd + kMonthMark.size();
    const auto year = readWhole(text.substr(0, yearEnd));
    const auto month = readWhole(text.substr(monthStart, monthEnd - monthStart));
    const auto day = readWhole(text.substr(dayStart, text.size() - kDayMark.size() - dayStart));
    if (!year || !month || !day || *month < 1 || *month > kMonths || *day < 1 ||
        *day > kLongestMonth)
        return failed<RaceDate>(RowProblem::DateUnreadable);
    if (*year < kFirstRaceYear || *year > kLastRaceYear)
        return failed<RaceDate>(RowProblem::YearOutOfRange);
    return {RaceDate{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)},
            std::nullopt};
}

} // namespace torvanu
