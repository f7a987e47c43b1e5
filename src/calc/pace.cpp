#include "pace.h"

#include <limits>
#include <optional>

#include "clock_text.h"
#include "number_text.h"
#include "time_units.h"

namespace torvanu {

namespace {

// Room for the longest display text, «-596524時間 -59分 -59秒 .99».
constexpr std::size_t kTextCapacity = 32;

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
    appendClockWords(result.display, split);
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
