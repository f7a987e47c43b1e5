#include "pace.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "clock_split.h"
#include "decimal_digits.h"
#include "number_text.h"

namespace torvanu {

namespace {

constexpr double kSecondsPerMinute = 60.0;
constexpr double kSecondsPerHour = 3600.0;

constexpr std::int32_t kWholeSecondsPerHour = 3600;
constexpr std::int32_t kWholeSecondsPerMinute = 60;

// A whole-second count of 10 or more decimal digits is beyond 32 bits anyway.
constexpr int kMaxWholeExponent = 9;

// Room for the longest display text, «-596524時間 -59分 -59秒 .99».
constexpr std::size_t kTextCapacity = 32;

constexpr std::u16string_view kHoursWord = u"時間 ";
constexpr std::u16string_view kMinutesWord = u"分 ";
constexpr std::u16string_view kSecondsWord = u"秒 ";

std::int32_t floorDiv(std::int32_t a, std::int32_t b)
{
    const std::int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

void appendInt(std::u16string& out, std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (const char* p = buffer; p != result.ptr; ++p)
        out += static_cast<char16_t>(*p);
}

// The last two characters of "0" followed by the number: 4 gives "04", 30 stays "30".
void appendTwoDigits(std::u16string& out, std::int32_t value)
{
    char buffer[16];
    buffer[0] = '0';
    const auto result = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
    out += static_cast<char16_t>(result.ptr[-2]);
    out += static_cast<char16_t>(result.ptr[-1]);
}

void appendFraction(std::u16string& out, const ClockSplit& split)
{
    out.append(split.fraction.data(), static_cast<std::size_t>(split.fractionLength));
}

CalcResult zeroDistance()
{
    return {CalcStatus::ZeroDistance, std::u16string(kZeroDistanceText), {}};
}

CalcResult outOfRange()
{
    return {CalcStatus::OutOfRange, std::u16string(kOutOfRangeText),
            std::u16string(kOutOfRangeText)};
}

} // namespace

double secondsValue(double distance, Unit unit, double hours, double minutes, double seconds,
                    Mode mode)
{
    if (mode == Mode::GoalTime) {
        const double pace = minutes * kSecondsPerMinute + seconds;
        switch (unit) {
        case Unit::Km:
            return pace * distance;
        case Unit::M:
            return (pace / kMetresPerKm) * distance;
        case Unit::Mile:
            return (pace * kKmPerMile) * distance;
        }
    } else {
        const double goal = (hours * kSecondsPerHour + minutes * kSecondsPerMinute) + seconds;
        switch (unit) {
        case Unit::Km:
            return goal / distance;
        case Unit::M:
            return (goal / distance) * kMetresPerKm;
        case Unit::Mile:
            return (goal / distance) / kKmPerMile;
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

ClockSplit splitSeconds(double value)
{
    ClockSplit split;
    if (!std::isfinite(value)) {
        split.status = CalcStatus::OutOfRange;
        return split;
    }
    // Everything, the hours included, comes from the value rounded to 15 digits: a value
    // a hair below a whole hour (3599.9999999999995) must read as that hour.
    const DecimalDigits decimal = roundTo15Digits(value);
    if (decimal.exponent > kMaxWholeExponent) {
        split.status = CalcStatus::OutOfRange;
        return split;
    }
    std::int64_t whole = 0;
    for (int i = 0; i <= decimal.exponent; ++i) {
        const int digit = i < decimal.count ? decimal.digits[static_cast<std::size_t>(i)] - '0' : 0;
        whole = whole * 10 + digit;
    }
    const int fractionDigits = decimal.fractionLength();
    if (decimal.negative)
        whole = -whole - (fractionDigits > 0 ? 1 : 0);
    if (whole < std::numeric_limits<std::int32_t>::min() ||
        whole > std::numeric_limits<std::int32_t>::max()) {
        split.status = CalcStatus::OutOfRange;
        return split;
    }
    const auto w = static_cast<std::int32_t>(whole);
    // floor(D / 3600) is floor(W / 3600), 3600 being whole. The remainders follow the sign
    // of the dividend, as C++'s % does.
    const std::int32_t rest = w % kWholeSecondsPerHour;
    split.hours = floorDiv(w, kWholeSecondsPerHour);
    split.minutes = floorDiv(rest, kWholeSecondsPerMinute);
    split.seconds = rest % kWholeSecondsPerMinute;
    if (fractionDigits > 0) {
        split.fraction[0] = u'.';
        split.fractionLength = 1 + std::min(fractionDigits, 2);
        for (int k = 1; k < split.fractionLength; ++k)
            split.fraction[static_cast<std::size_t>(k)] =
                static_cast<char16_t>(decimal.fractionDigit(k));
    }
    return split;
}

void appendWholeClock(std::u16string& out, const ClockSplit& split)
{
    if (split.status != CalcStatus::Ok) {
        out += kOutOfRangeText;
        return;
    }
    appendInt(out, split.hours);
    out += u':';
    appendTwoDigits(out, split.minutes);
    out += u':';
    appendTwoDigits(out, split.seconds);
}

CalcResult calc(double distance, Unit unit, double hours, double minutes, double seconds, Mode mode)
{
    if (distance == 0.0)
        return zeroDistance();
    const ClockSplit split =
        splitSeconds(secondsValue(distance, unit, hours, minutes, seconds, mode));
    if (split.status != CalcStatus::Ok)
        return outOfRange();

    CalcResult result;
    // One allocation each: the texts outgrow the small-string buffer.
    result.display.reserve(kTextCapacity);
    result.compact.reserve(kTextCapacity);
    if (split.hours != 0) {
        appendInt(result.display, split.hours);
        result.display += kHoursWord;
    }
    appendInt(result.display, split.minutes);
    result.display += kMinutesWord;
    appendInt(result.display, split.seconds);
    result.display += kSecondsWord;
    appendFraction(result.display, split);

    appendWholeClock(result.compact, split);
    appendFraction(result.compact, split);
    return result;
}

CalcResult calc(const CalcInputs& inputs, Mode mode)
{
    const std::optional<double> distance = readNumber(inputs.distance);
    if (!distance)
        return outOfRange();
    if (*distance == 0.0)
        return zeroDistance();
    const std::optional<Unit> unit = unitFromText(inputs.unit);
    // Mode 1 has no hours; its callers need not fill them.
    const std::optional<double> hours =
        mode == Mode::GoalTime ? std::optional<double>(0.0) : readNumber(inputs.hours);
    const std::optional<double> minutes = readNumber(inputs.minutes);
    const std::optional<double> seconds = readNumber(inputs.seconds);
    // The validation lets no such text through; should one arrive, nothing can be split.
    if (!unit || !hours || !minutes || !seconds)
        return outOfRange();
    return calc(*distance, *unit, *hours, *minutes, *seconds, mode);
}

} // namespace torvanu
