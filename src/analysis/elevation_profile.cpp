#include "analysis/elevation_profile.h"

#include "analysis/grade_cost.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace torvanu {

namespace {

constexpr double kStep = 10;      // metres between two samples of the profile
constexpr double kWindow = 50;    // metres of course in one moving average
constexpr double kHysteresis = 2; // metres a climb must turn back by to count
// Small enough to keep a barometric watch's own totals (a ride its file puts at 541 m up and
// down over 92 km comes out 4 % below that); wider, they eat real hills along with the noise.
constexpr std::size_t kMaxSamples = 1'000'000; // 10,000 km at 10 m: past that, wider steps

struct Sample
{
    double distance;
    double altitude;
};

// The points that have an altitude, every 'step' metres, linear between them.
std::vector<double> resampled(const std::vector<Sample>& points, double start, double step,
                              std::size_t count)
{
    std::vector<double> made;
    made.reserve(count);
    std::size_t k = 0;
    for (std::size_t j = 0; j < count; ++j) {
        const double x = start + static_cast<double>(j) * step;
        while (k + 1 < points.size() && points[k + 1].distance < x)
            ++k;
        const Sample& before = points[k];
        if (k + 1 < points.size() && points[k + 1].distance > before.distance) {
            const Sample& after = points[k + 1];
            const double share =
                std::clamp((x - before.distance) / (after.distance - before.distance), 0.0, 1.0);
            made.push_back(before.altitude + share * (after.altitude - before.altitude));
        } else {
            made.push_back(before.altitude);
        }
    }
    return made;
}

std::vector<double> movingAverage(const std::vector<double>& values, std::size_t half)
{
    std::vector<double> sums(values.size() + 1, 0.0);
    for (std::size_t j = 0; j < values.size(); ++j)
        sums[j + 1] = sums[j] + values[j];
    std::vector<double> made(values.size());
    for (std::size_t j = 0; j < values.size(); ++j) {
        const std::size_t first = j > half ? j - half : 0;
        const std::size_t last = std::min(values.size() - 1, j + half);
        made[j] = (sums[last + 1] - sums[first]) / static_cast<double>(last - first + 1);
    }
    return made;
}

// One counted leg: from one turning point to the next.
struct Leg
{
    std::size_t from;
    std::size_t to;
};

// The legs of the elevation that rise or fall by more than the hysteresis, turning point to
// turning point; wobbles smaller than it, at the start or inside a leg, belong to no leg or to
// the leg around them.
std::vector<Leg> legs(const std::vector<double>& s)
{
    std::vector<Leg> made;
    int direction = 0; // 1 climbing, -1 descending, 0 not yet known
    std::size_t low = 0;
    std::size_t high = 0;
    std::size_t anchor = 0;  // the last turning point
    std::size_t extreme = 0; // the highest (climbing) or lowest point since
    for (std::size_t j = 1; j < s.size(); ++j) {
        if (direction == 0) {
            if (s[j] < s[low])
                low = j;
            if (s[j] > s[high])
                high = j;
            if (s[high] - s[low] > kHysteresis) {
                direction = high > low ? 1 : -1;
                anchor = direction > 0 ? low : high;
                extreme = j;
            }
            continue;
        }
        const double turned = direction > 0 ? s[extreme] - s[j] : s[j] - s[extreme];
        if (turned < 0) {
            extreme = j;
        } else if (turned > kHysteresis) {
            made.push_back({anchor, extreme});
            anchor = extreme;
            extreme = j;
            direction = -direction;
        }
    }
    if (direction != 0)
        made.push_back({anchor, extreme});
    return made;
}

} // namespace

ElevationProfile::ElevationProfile(std::span<const double> distances,
                                   std::span<const float> altitudes)
{
    const std::size_t count = std::min(distances.size(), altitudes.size());
    std::vector<Sample> points;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::isfinite(altitudes[i]) && std::isfinite(distances[i]))
            points.push_back({distances[i], altitudes[i]});
    }
    if (points.size() < 2 || !(points.back().distance - points.front().distance >= kStep))
        return;
    const double span = points.back().distance - points.front().distance;
    m_start = points.front().distance;
    m_step = std::max(kStep, span / static_cast<double>(kMaxSamples - 1));
    const auto samples = static_cast<std::size_t>(std::floor(span / m_step)) + 1;
    const auto half = static_cast<std::size_t>(std::floor(kWindow / 2 / m_step));
    m_smoothed = movingAverage(resampled(points, m_start, m_step, samples), half);

    const std::vector<double>& s = m_smoothed;
    std::vector<double> up(s.size(), 0.0);
    std::vector<double> down(s.size(), 0.0);
    // A leg's height is spread over the samples where it was gained, its highest point so far
    // (its lowest, going down) rising sample by sample: each km gets what was climbed in it,
    // and the kms add up to the whole.
    for (const Leg& leg : legs(s)) {
        const bool climbing = s[leg.to] > s[leg.from];
        double reached = s[leg.from];
        for (std::size_t j = leg.from + 1; j <= leg.to; ++j) {
            const double next = climbing ? std::max(reached, s[j]) : std::min(reached, s[j]);
            (climbing ? up : down)[j] += std::abs(next - reached);
            reached = next;
        }
    }
    m_ascent.resize(s.size());
    m_descent.resize(s.size());
    m_flat.resize(s.size());
    m_ascent[0] = m_descent[0] = m_flat[0] = 0;
    for (std::size_t j = 1; j < s.size(); ++j) {
        m_ascent[j] = m_ascent[j - 1] + up[j];
        m_descent[j] = m_descent[j - 1] + down[j];
        m_flat[j] = m_flat[j - 1] + m_step * flatEquivalent((s[j] - s[j - 1]) / m_step);
    }
}

double ElevationProfile::at(const std::vector<double>& cumulative, double distance) const
{
    const double position = (distance - m_start) / m_step;
    if (!(position > 0))
        return cumulative.front();
    const auto last = static_cast<double>(cumulative.size() - 1);
    if (position >= last)
        return cumulative.back();
    const auto j = static_cast<std::size_t>(position);
    const double share = position - static_cast<double>(j);
    return cumulative[j] + share * (cumulative[j + 1] - cumulative[j]);
}

Climb ElevationProfile::total() const
{
    if (empty())
        return {};
    return {m_ascent.back(), m_descent.back()};
}

Climb ElevationProfile::between(double from, double to) const
{
    if (empty() || !(to > from))
        return {};
    return {at(m_ascent, to) - at(m_ascent, from), at(m_descent, to) - at(m_descent, from)};
}

double ElevationProfile::effortFactor(double from, double to) const
{
    if (empty() || !(to > from))
        return 1;
    const double end = m_start + m_step * static_cast<double>(m_smoothed.size() - 1);
    // Flat-equivalent metres from the first sample, counting the course outside the profile
    // as flat.
    const auto flatAt = [&](double x) {
        if (x < m_start)
            return x - m_start;
        if (x > end)
            return m_flat.back() + (x - end);
        return at(m_flat, x);
    };
    return (flatAt(to) - flatAt(from)) / (to - from);
}

} // namespace torvanu
