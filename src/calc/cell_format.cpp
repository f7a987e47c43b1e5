#include "cell_format.h"

#include "calc/number_text.h"
#include "calc/time_units.h"

#include <algorithm>
#include <cstdint>

namespace torvanu {

namespace {

constexpr std::u16string_view kYearMark = u"年";
constexpr std::u16string_view kMonthMark = u"月";
constexpr std::u16string_view kDayMark = u"日";
constexpr std::u16string_view kHoursMark = u"時間";
constexpr std::u16string_view kMinutesMark = u"分";
constexpr std::u16string_view kSecondsMark = u"秒";
constexpr std::u16string_view kZeroHours = u" 0";
constexpr std::u16string_view kTwoBlanks = u"  ";
constexpr std::size_t kPickerWidth = 2; // a month, day, minute or second entry

constexpr int kMonths = 12;
constexpr int kLongestMonth = 31;
// A part with more digits is no time anyone ran; it also keeps the sum exact.
constexpr std::size_t kMaxDigits = 6;

// Up to count characters from position, none when position is past the end.
std::u16string_view part(std::u16string_view text, std::size_t position, std::size_t count)
{
    return position <= text.size() ? text.substr(position, count) : std::u16string_view();
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
        const std::optional<int> digit = digitValue(c);
        if (!digit)
            return std::nullopt;
        value = value * 10 + *digit;
    }
    return value;
}

// The unit whose text the cell ends with; "km" is listed before "m", which it also ends with.
const UnitFacts* endingUnit(std::u16string_view text)
{
    const auto facts = std::find_if(kUnits.begin(), kUnits.end(), [text](const UnitFacts& unit) {
        return text.ends_with(unit.text);
    });
    return facts == kUnits.end() ? nullptr : &*facts;
}

template <typename T> CellReading<T> failed(RowProblem problem)
{
    return {T{}, problem};
}

} // namespace

std::u16string composeDateCell(const DateCellParts& date)
{
    std::u16string cell = date.year;
    cell.append(kYearMark).append(date.month).append(kMonthMark).append(date.day);
    return cell.append(kDayMark);
}

std::optional<DateCellParts> splitDateCell(std::u16string_view cell)
{
    const std::size_t yearEnd = cell.find(kYearMark);
    const std::size_t monthEnd = cell.find(kMonthMark);
    if (yearEnd == std::u16string_view::npos || monthEnd == std::u16string_view::npos)
        return std::nullopt;
    return DateCellParts{std::u16string(cell.substr(0, yearEnd)),
                         std::u16string(part(cell, yearEnd + kYearMark.size(), kPickerWidth)),
                         std::u16string(part(cell, monthEnd + kMonthMark.size(), kPickerWidth))};
}

std::u16string composeDistanceCell(const DistanceCellParts& distance)
{
    return distance.distance + std::u16string(unitText(distance.unit));
}

DistanceCellParts splitDistanceCell(std::u16string_view cell)
{
    // Every unit text goes, "km" before "m" (the table's order), or the "k" of a kilometre
    // cell would stay behind. A cell that names no other unit is in metres.
    std::u16string distance(cell);
    for (const UnitFacts& facts : kUnits) {
        for (std::size_t at = distance.find(facts.text); at != std::u16string::npos;
             at = distance.find(facts.text, at))
            distance.erase(at, facts.text.size());
    }
    Unit unit = Unit::M;
    for (const UnitFacts& facts : kUnits) {
        if (facts.unit != Unit::M && cell.find(facts.text) != std::u16string_view::npos) {
            unit = facts.unit;
            break;
        }
    }
    return {distance, unit};
}

std::u16string composeTimeCell(const TimeCellParts& time)
{
    std::u16string underAnHour(kTwoBlanks);
    underAnHour.append(time.minutes).append(kMinutesMark).append(time.seconds).append(kSecondsMark);
    std::u16string hours = time.hours;
    std::erase(hours, u' ');
    // A text that is no number counts as no hours.
    if (readNumber(hours).value_or(0.0) > 0.0)
        return time.hours + std::u16string(kHoursMark) + removeBlankPairs(underAnHour);
    return underAnHour;
}

std::optional<TimeCellParts> splitTimeCell(std::u16string_view cell)
{
    const std::size_t minutesEnd = cell.find(kMinutesMark);
    if (minutesEnd == std::u16string_view::npos)
        return std::nullopt;
    std::u16string seconds(part(cell, minutesEnd + kMinutesMark.size(), kPickerWidth));

    const std::size_t hoursEnd = cell.find(kHoursMark);
    if (hoursEnd != std::u16string_view::npos) {
        return TimeCellParts{std::u16string(cell.substr(0, hoursEnd)),
                             std::u16string(part(cell, hoursEnd + kHoursMark.size(), kPickerWidth)),
                             std::move(seconds)};
    }
    return TimeCellParts{std::u16string(kZeroHours), removeBlankPairs(cell.substr(0, minutesEnd)),
                         std::move(seconds)};
}

std::u16string removeBlankPairs(std::u16string_view text)
{
    std::u16string kept;
    kept.reserve(text.size());
    while (!text.empty()) {
        if (text.starts_with(kTwoBlanks)) {
            text.remove_prefix(kTwoBlanks.size());
            continue;
        }
        kept.push_back(text.front());
        text.remove_prefix(1);
    }
    return kept;
}

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
    const UnitFacts* facts = endingUnit(text);
    const Unit unit = facts ? facts->unit : Unit::M;
    const std::optional<double> value =
        readNumber(facts ? text.substr(0, text.size() - facts->text.size()) : text);
    if (!value)
        return failed<double>(RowProblem::DistanceUnreadable);
    const double length = metres(*value, unit);
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
    if (!hours || !minutes || !seconds || *minutes >= kMinutesPerHour ||
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
