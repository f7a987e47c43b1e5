#include "split_table.h"

#include "clock_split.h"
#include "pace.h"

namespace torvanu {

namespace {

constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerMinute = 60;

} // namespace

std::vector<std::u16string> splitTable(std::span<const double> distancesKm, double paceMinutes,
                                       double paceSeconds)
{
    std::vector<std::u16string> splits;
    splits.reserve(distancesKm.size());
    for (const double km : distancesKm) {
        std::u16string& text = splits.emplace_back();
        appendWholeClock(text, splitSeconds(secondsValue(km, Unit::Km, 0.0, paceMinutes,
                                                         paceSeconds, Mode::GoalTime)));
    }
    return splits;
}

std::optional<std::int64_t> wholeSeconds(double seconds)
{
    const ClockSplit split = splitSeconds(seconds);
    if (split.status != CalcStatus::Ok)
        return std::nullopt;
    return std::int64_t{split.hours} * kSecondsPerHour +
           std::int64_t{split.minutes} * kSecondsPerMinute + split.seconds;
}

std::u16string clockText(std::int64_t seconds)
{
    const auto digits = [](std::u16string& out, std::int64_t value) {
        const std::string text = std::to_string(value);
        out.append(text.begin(), text.end());
    };
    std::u16string text;
    digits(text, seconds / kSecondsPerHour);
    for (const std::int64_t part :
         {seconds / kSecondsPerMinute % kSecondsPerMinute, seconds % kSecondsPerMinute}) {
        text += part < 10 ? u":0" : u":";
        digits(text, part);
    }
    return text;
}

} // namespace torvanu
