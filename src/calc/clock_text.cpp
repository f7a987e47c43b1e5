#include "clock_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "decimal_digits.h"
#include "time_units.h"

namespace torvanu {

namespace {

// A whole-second count of 10 or more decimal digits is beyond 32 bits anyway.
constexpr int kMaxWholeExponent = 9;

// Float noise from milliseconds lies far below this; a second more never does.
constexpr double kSecondNoise = 1e-6;
constexpr double kLongestResultSeconds = 1e9;

constexpr std::u16string_view kHoursWord = u"時間 ";
constexpr std::u16string_view kMinutesWord = u"分 ";
constexpr std::u16string_view kSecondsWord = u"秒 ";

std::int32_t floorDiv(std::int32_t a, std::int32_t b)
{
    const std::int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

void appendDigits(std::u16string& out, std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    for (const char* p = buffer; p != result.ptr; ++p)
        out += static_cast<char16_t>(*p);
}

// Minutes and seconds after a colon: a zero before a value under ten.
void appendPadded(std::u16string& out, std::int64_t value)
{
    if (value < 10)
        out += u'0';
    appendDigits(out, value);
}

// The last two characters of "0" followed by the number: 4 gives "04", 30 stays "30", and a
// negative part keeps its sign as the calculator has always shown it (-1 gives "-1").
void appendLastTwo(std::u16string& out, std::int32_t value)
{
    char buffer[16];
    buffer[0] = '0';
    const auto result = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
    out += static_cast<char16_t>(result.ptr[-2]);
    out += static_cast<char16_t>(result.ptr[-1]);
}

} // namespace

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
    const std::int32_t rest = w % kSecondsPerHour;
    split.hours = floorDiv(w, kSecondsPerHour);
    split.minutes = floorDiv(rest, kSecondsPerMinute);
    split.seconds = rest % kSecondsPerMinute;
    if (fractionDigits > 0) {
        split.fraction[0] = u'.';
        split.fractionLength = 1 + std::min(fractionDigits, 2);
        for (int k = 1; k < split.fractionLength; ++k)
            split.fraction[static_cast<std::size_t>(k)] =
                static_cast<char16_t>(decimal.fractionDigit(k));
    }
    return split;
}

std::optional<std::int64_t> cutSeconds(double seconds)
{
    const ClockSplit split = splitSeconds(seconds);
    if (split.status != CalcStatus::Ok)
        return std::nullopt;
    return std::int64_t{split.hours} * kSecondsPerHour +
           std::int64_t{split.minutes} * kSecondsPerMinute + split.seconds;
}

double roundedSeconds(double seconds)
{
    return std::floor(seconds + 0.5);
}

std::optional<std::int64_t> roundedUpSeconds(double seconds)
{
    if (!(seconds < kLongestResultSeconds))
        return std::nullopt;
    return static_cast<std::int64_t>(std::ceil(seconds - kSecondNoise));
}

void appendWholeClock(std::u16string& out, const ClockSplit& split)
{
    if (split.status != CalcStatus::Ok) {
        out += kOutOfRangeText;
        return;
    }
    appendDigits(out, split.hours);
    out += u':';
    appendLastTwo(out, split.minutes);
    out += u':';
    appendLastTwo(out, split.seconds);
}

void appendFraction(std::u16string& out, const ClockSplit& split)
{
    out.append(split.fraction.data(), static_cast<std::size_t>(split.fractionLength));
}

void appendClockWords(std::u16string& out, const ClockSplit& split)
{
    if (split.hours != 0) {
        appendDigits(out, split.hours);
        out += kHoursWord;
    }
    appendDigits(out, split.minutes);
    out += kMinutesWord;
    appendDigits(out, split.seconds);
    out += kSecondsWord;
    appendFraction(out, split);
}

std::u16string clockText(std::int64_t seconds)
{
    std::u16string text;
    appendDigits(text, seconds / kSecondsPerHour);
    text += u':';
    appendPadded(text, seconds / kSecondsPerMinute % kMinutesPerHour);
    text += u':';
    appendPadded(text, seconds % kSecondsPerMinute);
    return text;
}

std::u16string shortClockText(std::int64_t seconds)
{
    return seconds >= kSecondsPerHour ? clockText(seconds) : minuteClockText(seconds);
}

std::u16string minuteClockText(std::int64_t seconds)
{
    std::u16string text;
    appendDigits(text, seconds / kSecondsPerMinute);
    text += u':';
    appendPadded(text, seconds % kSecondsPerMinute);
    return text;
}

} // namespace torvanu
