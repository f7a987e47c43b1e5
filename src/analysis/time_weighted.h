#pragma once

#include <optional>
#include <span>
#include <vector>

namespace torvanu {

// A channel a watch samples over time (heart rate, cadence), averaged by time: each sample
// holds until the next point, but never longer than a pause of the watch could make it, so
// that a stop with the clock halted adds no heart rate to the race.
class TimeWeighted
{
public:
    struct Options
    {
        double longestHold = 30; // seconds one sample counts at most
        bool skipZero = false;   // a zero is no sample (a cadence while standing)
    };

    // times: seconds, never decreasing; values: as many, NaN where a point has no sample.
    TimeWeighted(std::span<const double> times, std::span<const float> values, Options options);

    bool empty() const { return !m_max.has_value(); }
    // The mean between two times; nothing when no sample counts there.
    std::optional<double> mean(double from, double to) const;
    std::optional<double> mean() const;
    std::optional<double> max() const { return m_max; }

private:
    struct Sum
    {
        double weighted = 0; // value times seconds
        double seconds = 0;
    };
    Sum sumAt(double time) const;

    std::span<const double> m_times;
    std::vector<Sum> m_sums; // from the start to each point
    std::optional<double> m_max;
};

} // namespace torvanu
