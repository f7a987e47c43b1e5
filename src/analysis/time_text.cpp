#include "time_text.h"

#include <cmath>
#include <cstdint>

namespace torvanu {

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
// A hundred thousand years is more than any book holds and keeps the count in 64 bits.
constexpr double kLongestSeconds = 3.2e12;

void appendNumber(std::u16string& out, std::int64_t value, bool twoDigits)
{
    if (twoDigits && value < 10)
        out += u'0';
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    out += digits;
}

} // namespace

double shownSeconds(double seconds)
{
    return std::floor(seconds + 0.5);
}

std::u16string timeText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0.0 || seconds > kLongestSeconds)
        return {};
    const auto whole = static_cast<std::int64_t>(shownSeconds(seconds));
    const std::int64_t hours = whole / kSecondsPerHour;
    const std::int64_t minutes = whole % kSecondsPerHour / kSecondsPerMinute;
    std::u16string out;
    if (hours > 0) {
        appendNumber(out, hours, false);
        out += u':';
    }
    appendNumber(out, minutes, hours > 0);
    out += u':';
    appendNumber(out, whole % kSecondsPerMinute, true);
    return out;
}

std::u16string differenceText(double seconds, double reference)
{
    if (timeText(seconds).empty() || timeText(reference).empty())
        return {};
    // Each time rounded as its text shows it, so that the difference agrees with the texts.
    const double difference = shownSeconds(seconds) - shownSeconds(reference);
    if (difference == 0.0)
        return u"±" + timeText(0.0);
    return (difference < 0.0 ? u"-" : u"+") + timeText(std::abs(difference));
}

} // namespace torvanu
