#include "time_text.h"

#include "calc/clock_text.h"

#include <cmath>
#include <cstdint>

namespace torvanu {

namespace {

// A hundred thousand years is more than any book holds and keeps the count in 64 bits.
constexpr double kLongestSeconds = 3.2e12;

} // namespace

std::u16string timeText(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0.0 || seconds > kLongestSeconds)
        return {};
    return shortClockText(static_cast<std::int64_t>(roundedSeconds(seconds)));
}

std::u16string differenceText(double seconds, double reference)
{
    if (timeText(seconds).empty() || timeText(reference).empty())
        return {};
    // Each time rounded as its text shows it, so that the difference agrees with the texts.
    const double difference = roundedSeconds(seconds) - roundedSeconds(reference);
    if (difference == 0.0)
        return u"±" + timeText(0.0);
    return (difference < 0.0 ? u"-" : u"+") + timeText(std::abs(difference));
}

} // namespace torvanu
