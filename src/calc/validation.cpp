#include "validation.h"

#include <array>
#include <optional>

#include "number_text.h"

namespace torvanu {

namespace {

constexpr double kMaxPaceMinutes = 1000.0;
constexpr double kMaxGoalHours = 1000.0;
constexpr double kMaxMinutesOrSeconds = 59.0;

constexpr std::size_t kMaxPickers = 4;

struct PickerRule
{
    std::u16string_view notNumeric;
    double limit = 0.0;
    std::u16string_view tooLarge;
};

struct DistanceMessages
{
    std::u16string_view notNumeric;
    std::u16string_view UnitFacts::*overLimit;
};

constexpr DistanceMessages kCalculatorDistance{kDistanceNotNumericMessage,
                                               &UnitFacts::overLimitMessage};
constexpr DistanceMessages kRecordDistance{kRecordDistanceNotNumericMessage,
                                           &UnitFacts::recordOverLimitMessage};

constexpr std::array<PickerRule, 2> kPaceRules{{
    {kPaceMinutesNotNumericMessage, kMaxPaceMinutes, kPaceMinutesTooLargeMessage},
    {kPaceSecondsNotNumericMessage, kMaxMinutesOrSeconds, kPaceSecondsTooLargeMessage},
}};

constexpr std::array<PickerRule, 3> kGoalTimeRules{{
    {kGoalHoursNotNumericMessage, kMaxGoalHours, kGoalHoursTooLargeMessage},
    {kGoalMinutesNotNumericMessage, kMaxMinutesOrSeconds, kGoalMinutesTooLargeMessage},
    {kGoalSecondsNotNumericMessage, kMaxMinutesOrSeconds, kGoalSecondsTooLargeMessage},
}};

CheckOutcome focusWith(int picker, std::u16string_view message)
{
    CheckOutcome outcome;
    outcome.focus = picker;
    outcome.message = message;
    return outcome;
}

// Picker 0 is the distance, the others follow `rules`. Every picker is checked for an
// empty text first, then for a number, then against its limit; the first finding decides.
CheckOutcome checkPickers(std::span<const std::u16string_view> texts, std::u16string_view unit,
                          const DistanceMessages& distance, std::span<const PickerRule> rules)
{
    const std::size_t count = 1 + rules.size();
    // A picker the caller left out counts as empty.
    const auto text = [&](std::size_t i) { return i < texts.size() ? texts[i] : u""; };

    for (std::size_t i = 0; i < count; ++i) {
        if (text(i).empty()) {
            const int picker = static_cast<int>(i);
            return {picker, picker, {}};
        }
    }
    std::array<double, kMaxPickers> values{};
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<double> value = readNumber(text(i));
        if (!value)
            return focusWith(static_cast<int>(i),
                             i == 0 ? distance.notNumeric : rules[i - 1].notNumeric);
        values[i] = *value;
    }
    if (const std::optional<Unit> known = unitFromText(unit)) {
        const UnitFacts& facts = unitFacts(*known);
        if (values[0] > facts.limit)
            return focusWith(0, facts.*distance.overLimit);
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (values[i] > rules[i - 1].limit)
            return focusWith(static_cast<int>(i), rules[i - 1].tooLarge);
    }
    return {};
}

} // namespace

CheckOutcome checkInputs(Mode mode, std::span<const std::u16string_view> texts,
                         std::u16string_view unit)
{
    if (mode == Mode::GoalTime)
        return checkPickers(texts, unit, kCalculatorDistance, kPaceRules);
    return checkPickers(texts, unit, kCalculatorDistance, kGoalTimeRules);
}

CheckOutcome checkRecordDistance(std::u16string_view distance, std::u16string_view unit)
{
    return checkPickers(std::span(&distance, 1), unit, kRecordDistance, {});
}

} // namespace torvanu
