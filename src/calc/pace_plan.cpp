#include "pace_plan.h"

#include <cmath>
#include <cstdint>

#include "clock_text.h"
#include "lap_table.h"
#include "number_text.h"
#include "time_units.h"
#include "units.h"

namespace torvanu {

namespace {

constexpr double kFiveKm = 5.0;
constexpr double kPercent = 100.0;
constexpr double kPlaceDecimals = 1e4; // 21.0975 km keeps all its digits

constexpr std::u16string_view kHalfWord = u"中間";
constexpr std::u16string_view kFinishWord = u"ゴール";

// How far the plan's time at the fraction u of the distance lies from the even plan's, as a
// fraction of the whole time. Zero at the start and at the finish, so the total never moves.
double shapeOffset(Strategy strategy, double q, double u)
{
    switch (strategy) {
    case Strategy::Even:
        return 0.0;
    case Strategy::Split: {
        // Both halves are equally long, so their times stand as their paces: 1 to 1 + q.
        const double first = 1.0 / (2.0 + q);
        const double at = u <= 0.5 ? 2.0 * u * first : first + 2.0 * (u - 0.5) * (1.0 + q) * first;
        return at - u;
    }
    case Strategy::Drift:
        // The pace runs from 1 - q/2 to 1 + q/2 of the mean; its integral from 0 to u.
        return q * u * (u - 1.0) / 2.0;
    }
    return 0.0;
}

// The plan's mean pace between the fractions u0 and u1 of the distance, as a multiple of the
// mean pace of the whole. Taken from the shape itself: a difference of two passing times over
// a difference of two distances loses the last bits, and a 6:00 pace would read 5:59.
double segmentPaceFactor(Strategy strategy, double q, double u0, double u1)
{
    switch (strategy) {
    case Strategy::Even:
        return 1.0;
    case Strategy::Split:
        // The half is always a mark, so no segment spans both halves.
        return (u0 + u1 < 1.0 ? 2.0 : 2.0 * (1.0 + q)) / (2.0 + q);
    case Strategy::Drift:
        return 1.0 + q * ((u0 + u1) / 2.0 - 0.5);
    }
    return 1.0;
}

std::u16string placeNumber(double value)
{
    return numberText(std::round(value * kPlaceDecimals) / kPlaceDecimals);
}

} // namespace

double splitKm(SplitEvery every)
{
    switch (every) {
    case SplitEvery::Km1:
        return 1.0;
    case SplitEvery::Mile1:
        return kKmPerMile;
    case SplitEvery::Km5:
        return kFiveKm;
    }
    return 1.0;
}

std::u16string_view splitUnitText(SplitEvery every)
{
    return every == SplitEvery::Mile1 ? kMileText : kKmText;
}

PacePlan pacePlan(const PlanRequest& request)
{
    const double distance = request.distanceKm;
    if (request.strategy != Strategy::Even && !(std::fabs(request.percent) <= kPlanPercentLimit))
        return {PlanStatus::PercentOutOfRange, {}};
    if (!(distance > 0.0))
        return {PlanStatus::ZeroDistance, {}};
    if (!(distance <= kPlanMaxKm))
        return {PlanStatus::DistanceTooLong, {}};
    const double pace = request.paceSecondsPerKm.value_or(request.goalSeconds / distance);
    const double total = request.paceSecondsPerKm ? pace * distance : request.goalSeconds;
    if (!(pace > 0.0) || !(total > 0.0) || !std::isfinite(total))
        return {PlanStatus::NoTime, {}};

    const double every = splitKm(request.every);
    if (std::ceil(distance / every) + 1.0 > kPlanMaxRows)
        return {PlanStatus::TooManyRows, {}};

    // A mark this close to the half or the finish is that mark: 10 km has its half at 5 km.
    const double near = distance * 1e-9;
    const double half = distance / 2.0;
    std::vector<std::pair<PlanMark, double>> marks;
    bool halfPlaced = false;
    for (int k = 1;; ++k) {
        const double km = k * every;
        if (km >= distance - near)
            break;
        if (!halfPlaced && km >= half - near) {
            halfPlaced = true;
            marks.emplace_back(PlanMark::Half, half);
            if (km <= half + near)
                continue;
        }
        marks.emplace_back(PlanMark::Split, km);
    }
    if (!halfPlaced)
        marks.emplace_back(PlanMark::Half, half);
    marks.emplace_back(PlanMark::Finish, distance);

    const double q = request.percent / kPercent;
    const auto timeAt = [&](double km) {
        const double u = km / distance;
        const double even = request.paceSecondsPerKm ? pace * km : total * u;
        return even + total * shapeOffset(request.strategy, q, u);
    };

    const std::u16string_view unit = splitUnitText(request.every);
    const double unitKm = request.every == SplitEvery::Mile1 ? kKmPerMile : 1.0;
    PacePlan plan;
    plan.rows.reserve(marks.size());
    double lastKm = 0.0;
    std::int64_t lastWhole = 0;
    for (const auto& [mark, km] : marks) {
        // Every passing time is cut from the exact time, never summed from cut segments, so
        // the cut seconds are carried forward instead of piling up.
        const double time = mark == PlanMark::Finish ? timeAt(distance) : timeAt(km);
        const std::optional<std::int64_t> whole = cutSeconds(time);
        const std::optional<std::int64_t> perKm = cutSeconds(
            pace * segmentPaceFactor(request.strategy, q, lastKm / distance, km / distance));
        if (!whole || !perKm)
            return {PlanStatus::OutOfRange, {}};

        PlanRow& row = plan.rows.emplace_back();
        row.mark = mark;
        row.km = km;
        const std::u16string number = placeNumber(km / unitKm);
        row.place = number + u" " + std::u16string(unit);
        switch (mark) {
        case PlanMark::Split:
            row.shortPlace = number;
            break;
        case PlanMark::Half:
            row.shortPlace = kHalfWord;
            row.place = row.shortPlace + u" " + row.place;
            break;
        case PlanMark::Finish:
            row.shortPlace = kFinishWord;
            row.place = row.shortPlace + u" " + row.place;
            break;
        }
        row.segment = clockText(*whole - lastWhole);
        row.passing = clockText(*whole);
        row.pace = minuteClockText(*perKm);
        lastKm = km;
        lastWhole = *whole;
    }
    return plan;
}

std::optional<PlanRequest> planRequest(const CalcInputs& inputs, Mode mode)
{
    const std::optional<double> distance = readNumber(inputs.distance);
    const std::optional<Unit> unit = unitFromText(inputs.unit);
    if (!distance || !unit)
        return std::nullopt;
    PlanRequest request;
    request.distanceKm = kilometres(*distance, *unit);
    if (mode == Mode::GoalTime) {
        const std::optional<LapPace> pace = lapPace(inputs, mode);
        if (!pace)
            return std::nullopt;
        request.paceSecondsPerKm = pace->secondsPerKm();
        return request;
    }
    const std::optional<double> hours = readNumber(inputs.hours);
    const std::optional<double> minutes = readNumber(inputs.minutes);
    const std::optional<double> seconds = readNumber(inputs.seconds);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    request.goalSeconds = (*hours * kSecondsPerHour + *minutes * kSecondsPerMinute) + *seconds;
    return request;
}

} // namespace torvanu
