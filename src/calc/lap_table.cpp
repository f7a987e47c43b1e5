#include "lap_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "number_text.h"
#include "race_distances.h"
#include "split_table.h"
#include "time_units.h"

namespace torvanu {

namespace {

constexpr std::u16string_view kZeroPaceText = u" 1km =0分0秒";
constexpr std::u16string_view kZeroSpeedText = u"時速 =0.0km";
constexpr std::u16string_view kPacePrefix = u" 1km =";
constexpr std::u16string_view kMinuteWord = u"分";
constexpr std::u16string_view kSecondWord = u"秒";
constexpr std::u16string_view kSpeedPrefix = u"時速 =";
constexpr std::u16string_view kNoMinuteFraction = u".0";

LapTable outOfRangeTable()
{
    LapTable table;
    for (std::u16string& split : table.splits)
        split = kOutOfRangeText;
    table.half = kOutOfRangeText;
    table.full = kOutOfRangeText;
    table.paceText = kNoPaceText;
    table.speedText = kNoPaceText;
    return table;
}

// The pace back from the pace calculation's h:mm:ss.ff text, fraction included.
std::optional<double> paceFromClock(std::u16string_view clock)
{
    constexpr auto npos = std::u16string_view::npos;
    const std::size_t first = clock.find(u':');
    const std::size_t second = first == npos ? npos : clock.find(u':', first + 1);
    if (second == npos)
        return std::nullopt;
    const std::size_t third = clock.find(u':', second + 1);
    const std::optional<double> hours = readNumber(clock.substr(0, first));
    const std::optional<double> minutes = readNumber(clock.substr(first + 1, second - first - 1));
    const std::optional<double> seconds = readNumber(
        third == npos ? clock.substr(second + 1) : clock.substr(second + 1, third - second - 1));
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return std::floor(*hours) * kSecondsPerHour + std::floor(*minutes) * kSecondsPerMinute +
           *seconds;
}

std::u16string paceLabel(std::u16string_view paceMinutes, std::u16string_view paceSeconds)
{
    std::u16string text(kPacePrefix);
    text += paceMinutes;
    text += kMinuteWord;
    const std::size_t dot = paceSeconds.find(u'.');
    text += paceSeconds.substr(0, dot);
    text += kSecondWord;
    if (dot != std::u16string_view::npos)
        text += paceSeconds.substr(dot);
    return text;
}

std::u16string speedLabel(std::u16string_view paceMinutesText, double paceMinutes,
                          double paceSeconds)
{
    // The speed divides by the pace written as decimal minutes, built from the texts.
    std::u16string decimalMinutes(paceMinutesText);
    const std::u16string secondsFraction = numberText(paceSeconds / kSecondsPerMinute);
    if (secondsFraction.size() > 2) {
        decimalMinutes += u'.';
        decimalMinutes.append(secondsFraction, 2);
    } else {
        decimalMinutes += kNoMinuteFraction;
    }
    const std::optional<double> minutes = readNumber(decimalMinutes);
    // A negative pace's seconds carry a sign ("-1..525"), so those texts do not join into a
    // number; its speed is then taken from the pace the table runs at.
    const double kmPerHour =
        minutes ? kMinutesPerHour / *minutes
                : kSecondsPerHour / (paceMinutes * kSecondsPerMinute + paceSeconds);
    std::u16string speed = numberText(kmPerHour);
    if (speed.empty())
        return std::u16string(kNoPaceText);
    // Cut, not rounded; one decimal stays one decimal.
    const std::size_t dot = speed.find(u'.');
    if (dot != std::u16string::npos && speed.size() > dot + 3)
        speed.resize(dot + 3);
    std::u16string text(kSpeedPrefix);
    text += speed;
    text += kKmText;
    return text;
}

} // namespace

std::optional<LapPace> lapPace(const CalcInputs& inputs, Mode mode)
{
    std::optional<double> pace; // seconds per km; none for a zero distance
    if (mode == Mode::GoalTime) {
        const std::optional<double> minutes = readNumber(inputs.minutes);
        const std::optional<double> seconds = readNumber(inputs.seconds);
        if (!minutes || !seconds)
            return std::nullopt;
        pace = *minutes * kSecondsPerMinute + *seconds;
    } else {
        const CalcResult result = calc(inputs, Mode::Pace);
        if (result.status == CalcStatus::OutOfRange)
            return std::nullopt;
        if (result.status == CalcStatus::Ok) {
            pace = paceFromClock(result.compact);
            if (!pace)
                return std::nullopt;
        }
    }

    LapPace lap{u"0", u"0"};
    if (pace) {
        if (!std::isfinite(*pace))
            return std::nullopt;
        // The whole seconds come from the pace's number text, as its fraction does: 4.1 min
        // is 245.99999999999997 s in binary but 246 as text, and the result box, rounding to
        // the same 15 digits, shows a 4:06 pace. Taking the floor of the binary value would
        // run the table at 4:05.
        const std::u16string paceText = numberText(*pace);
        const double shown = readNumber(paceText).value_or(*pace);
        const double whole = std::floor(shown);
        // Minutes and seconds are split with 32-bit remainders, as the result times are.
        if (whole < std::numeric_limits<std::int32_t>::min() ||
            whole > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        lap.minutesText = numberText(std::floor(shown / kSecondsPerMinute));
        // fmod keeps the dividend's sign, as the 32-bit remainder does.
        lap.secondsText = numberText(std::fmod(whole, kSecondsPerMinute));
        const std::size_t dot = paceText.find(u'.');
        if (dot != std::u16string::npos)
            lap.secondsText.append(paceText, dot);
    }

    // The rows run at the pace as the texts carry it (two decimals in mode 2), so they are
    // read back rather than taken from the pace itself.
    lap.minutes = readNumber(lap.minutesText).value_or(0.0);
    lap.seconds = readNumber(lap.secondsText).value_or(0.0);
    return lap;
}

LapTable fullMarathonMatrix(const CalcInputs& inputs, Mode mode)
{
    const std::optional<LapPace> pace = lapPace(inputs, mode);
    if (!pace)
        return outOfRangeTable();

    std::array<double, kLapRows + 2> distances{};
    for (int k = 1; k <= kLapRows; ++k)
        distances[static_cast<std::size_t>(k - 1)] = k;
    distances[kLapRows] = kHalfMarathonKm;
    distances[kLapRows + 1] = kFullMarathonKm;
    std::vector<std::u16string> splits = splitTable(distances, pace->minutes, pace->seconds);

    LapTable table;
    std::move(splits.begin(), splits.begin() + kLapRows, table.splits.begin());
    if (pace->minutes == 0.0 && pace->seconds == 0.0) {
        table.paceText = kZeroPaceText;
        table.speedText = kZeroSpeedText;
    } else {
        table.paceText = paceLabel(pace->minutesText, pace->secondsText);
        table.speedText = speedLabel(pace->minutesText, pace->minutes, pace->seconds);
    }
    table.half = std::move(splits[kLapRows]);
    table.full = std::move(splits[kLapRows + 1]);
    return table;
}

} // namespace torvanu
