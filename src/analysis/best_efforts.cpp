#include "analysis/best_efforts.h"

#include <cmath>

namespace torvanu {

namespace {

constexpr double kSameSeconds = 1e-9;

// Each distance the track reached, once: when it arrived there and when it left. A
// stretch starts at the leaving and ends at the arriving, so a pause at either end is left
// out, and between two knots the runner moved at an even speed.
struct Knot
{
    double distance = 0.0;
    double arrived = 0.0;
    double left = 0.0;
};

std::vector<Knot> knotsOf(std::span<const TrackPoint> track)
{
    std::vector<Knot> knots;
    knots.reserve(track.size());
    for (const TrackPoint& point : track) {
        if (!std::isfinite(point.time) || !std::isfinite(point.distance))
            continue;
        if (knots.empty()) {
            knots.push_back({point.distance, point.time, point.time});
            continue;
        }
        Knot& last = knots.back();
        const double time = std::max(point.time, last.left);
        if (point.distance <= last.distance)
            last.left = time;
        else
            knots.push_back({point.distance, time, time});
    }
    return knots;
}

// The time at a distance between two knots, moving at an even speed from one to the next.
double timeBetween(const Knot& from, const Knot& to, double distance)
{
    const double share = (distance - from.distance) / (to.distance - from.distance);
    return from.left + share * (to.arrived - from.left);
}

// The time a stretch takes, as a function of its start, is linear between the places where
// either end meets a knot, so the fastest has one end on a knot. Two passes try every knot
// as the start and as the finish; in each the other end only moves forward, so a pass is
// linear in the number of knots.
std::optional<BestEffort> fastestOver(const std::vector<Knot>& knots, double metres)
{
    if (knots.empty() || !(metres > 0) || knots.back().distance - knots.front().distance < metres)
        return std::nullopt;
    std::optional<BestEffort> best;
    // Of stretches equally fast but for rounding, the first: an even run's best starts at
    // its start, not wherever the last bit of rounding happened to fall.
    const auto consider = [&best](double start, double seconds) {
        if (!best || seconds < best->seconds - kSameSeconds ||
            (seconds <= best->seconds + kSameSeconds && start < best->start))
            best = BestEffort{0, start, seconds};
    };

    const double last = knots.back().distance;
    std::size_t end = 0;
    for (const Knot& start : knots) {
        const double target = start.distance + metres;
        if (target > last)
            break;
        while (knots[end].distance < target)
            ++end;
        const double arrived = knots[end].distance == target
                                   ? knots[end].arrived
                                   : timeBetween(knots[end - 1], knots[end], target);
        consider(start.distance, arrived - start.left);
    }

    const double first = knots.front().distance;
    std::size_t begin = 0;
    for (const Knot& finish : knots) {
        const double target = finish.distance - metres;
        if (target < first)
            continue;
        while (knots[begin + 1].distance <= target)
            ++begin;
        const double left = knots[begin].distance == target
                                ? knots[begin].left
                                : timeBetween(knots[begin], knots[begin + 1], target);
        consider(target, finish.arrived - left);
    }
    return best;
}

} // namespace

std::vector<BestEffort> bestEfforts(std::span<const TrackPoint> track)
{
    const std::vector<Knot> knots = knotsOf(track);
    std::vector<BestEffort> efforts;
    for (std::size_t d = 0; d < kEffortDistances.size(); ++d) {
        std::optional<BestEffort> effort = fastestOver(knots, kEffortDistances[d].metres);
        if (!effort)
            break;
        effort->distance = static_cast<int>(d);
        efforts.push_back(*effort);
    }
    return efforts;
}

} // namespace torvanu
