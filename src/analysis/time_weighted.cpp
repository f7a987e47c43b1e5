#include "analysis/time_weighted.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace torvanu {

TimeWeighted::TimeWeighted(std::span<const double> times, std::span<const float> values,
                           Options options)
    : m_times(times.first(std::min(times.size(), values.size())))
{
    if (m_times.empty())
        return;
    const auto counts = [&](std::size_t i) {
        return std::isfinite(values[i]) && !(options.skipZero && values[i] == 0);
    };
    m_sums.resize(m_times.size());
    for (std::size_t i = 0; i < m_times.size(); ++i) {
        if (counts(i))
            m_max = std::max(m_max.value_or(values[i]), static_cast<double>(values[i]));
        if (i == 0)
            continue;
        Sum sum = m_sums[i - 1];
        const double held = std::min(m_times[i] - m_times[i - 1], options.longestHold);
        if (counts(i - 1) && held > 0) {
            sum.weighted += values[i - 1] * held;
            sum.seconds += held;
        }
        m_sums[i] = sum;
    }
}

TimeWeighted::Sum TimeWeighted::sumAt(double time) const
{
    const auto after = std::upper_bound(m_times.begin(), m_times.end(), time);
    if (after == m_times.begin())
        return {};
    if (after == m_times.end())
        return m_sums.back();
    const auto i = static_cast<std::size_t>(after - m_times.begin());
    // Inside a stretch between two points, its share of what the stretch adds.
    const double share = (time - m_times[i - 1]) / (m_times[i] - m_times[i - 1]);
    const Sum& before = m_sums[i - 1];
    const Sum& next = m_sums[i];
    return {before.weighted + share * (next.weighted - before.weighted),
            before.seconds + share * (next.seconds - before.seconds)};
}

std::optional<double> TimeWeighted::mean(double from, double to) const
{
    if (m_sums.empty())
        return std::nullopt;
    const Sum a = sumAt(from);
    const Sum b = sumAt(to);
    if (!(b.seconds - a.seconds > 0))
        return std::nullopt;
    return (b.weighted - a.weighted) / (b.seconds - a.seconds);
}

std::optional<double> TimeWeighted::mean() const
{
    if (m_sums.empty() || !(m_sums.back().seconds > 0))
        return std::nullopt;
    return m_sums.back().weighted / m_sums.back().seconds;
}

} // namespace torvanu
