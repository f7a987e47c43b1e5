#pragma once

#include "activity/activity.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace torvanu {

// What one point of a file says beside its time and distance; NaN where it says nothing.
struct PointChannels
{
    static constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

    float altitude = kNone;
    float heartRate = kNone;
    float cadence = kNone;
    GeoPoint position{std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::quiet_NaN()};
};

// Watches count running cadence per leg, a stride: a channel holds steps of both legs.
constexpr float kStepsPerStride = 2;

// A value read from a file as a sample: NaN for none, and for one no float can hold.
inline float sampleOf(std::optional<double> value)
{
    if (!value)
        return PointChannels::kNone;
    const auto sample = static_cast<float>(*value);
    return std::isfinite(sample) ? sample : PointChannels::kNone;
}

// A heart rate of 0 is a strap that lost contact, not a heart that stopped.
inline float heartRateOf(std::optional<double> value)
{
    return value && *value > 0 ? sampleOf(value) : PointChannels::kNone;
}

// Fills Activity::channels point by point, in step with the track. A channel takes memory only
// from its first sample on: a file without heart rate costs no vector of NaN, and the points
// before a first sample are filled with NaN then.
class ChannelBuilder
{
public:
    // points: how many points the track will have at most, set aside at a channel's first
    // sample so that the channel is never moved as it grows.
    explicit ChannelBuilder(std::size_t points) : m_points(points) {}

    void append(const PointChannels& point);

    // The channels for a track of the points appended so far.
    TrackChannels take();

private:
    template <class T> void add(std::vector<T>& channel, const T& value, bool present);

    std::size_t m_points;
    std::size_t m_count = 0;
    TrackChannels m_channels;
};

} // namespace torvanu
