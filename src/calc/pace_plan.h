#pragma once

#include <optional>
#include <string_view>
#include <string>
#include <vector>

#include "pace.h"

namespace torvanu {

enum class SplitEvery
{
    Km1,
    Mile1,
    Km5
};

enum class Strategy
{
    Even,
    Split, // the second half percent % slower than the first; negative: faster
    Drift  // the pace grows linearly by percent % of the mean pace from start to finish
};

// Beyond this a plan is no longer a plan a runner can keep, and the drift would reach a
// standstill.
inline constexpr double kPlanPercentLimit = 20.0;
// The longest distance the calculator accepts, 10000 miles.
inline constexpr double kPlanMaxKm = 16093.44;
// A pace band longer than this helps nobody on the road.
inline constexpr int kPlanMaxRows = 4000;

struct PlanRequest
{
    double distanceKm = 0.0;
    // When the runner gave a pace, the even plan runs at it exactly as the lap table does;
    // otherwise at the goal time spread over the distance, so the finish is the goal time.
    std::optional<double> paceSecondsPerKm;
    double goalSeconds = 0.0;
    SplitEvery every = SplitEvery::Km1;
    Strategy strategy = Strategy::Even;
    double percent = 0.0;
};

enum class PlanMark
{
    Split,
    Half,
    Finish
};

struct PlanRow
{
    PlanMark mark = PlanMark::Split;
    double km = 0.0;           // where the mark lies
    std::u16string place;      // «5 km», «中間 21.0975 km», «ゴール 42.195 km»
    std::u16string shortPlace; // for the wristband: «5», «中間», «ゴール»
    std::u16string segment;    // time since the previous mark, h:mm:ss
    std::u16string passing;    // time since the start, h:mm:ss
    std::u16string pace;       // the plan's pace per km over the segment, m:ss
};

enum class PlanStatus
{
    Ok,
    PercentOutOfRange,
    ZeroDistance,
    DistanceTooLong,
    NoTime,     // the goal time or the pace is not above zero
    OutOfRange, // a time cannot be split into hours, minutes and seconds
    TooManyRows
};

struct PacePlan
{
    PlanStatus status = PlanStatus::Ok;
    std::vector<PlanRow> rows;
};

PacePlan pacePlan(const PlanRequest& request);

// The distance and time of the calculator's tab, with the default split and strategy. From
// the goal-time tab the plan runs at the lap table's pace; from the pace tab it ends at the
// goal time typed. Nothing when the texts do not read or the lap table cannot be filled; the
// texts must have passed the validation.
std::optional<PlanRequest> planRequest(const CalcInputs& inputs, Mode mode);

// The length of one split in km, and the unit its places are written in.
double splitKm(SplitEvery every);
std::u16string_view splitUnitText(SplitEvery every);

} // namespace torvanu
