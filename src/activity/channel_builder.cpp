#include "activity/channel_builder.h"

#include <algorithm>
#include <utility>

namespace torvanu {

namespace {

// The value of a point without a sample.
template <class T> T none();

template <> float none<float>()
{
    return PointChannels::kNone;
}

template <> GeoPoint none<GeoPoint>()
{
    return PointChannels{}.position;
}

} // namespace

template <class T> void ChannelBuilder::add(std::vector<T>& channel, const T& value, bool present)
{
    if (channel.empty()) {
        if (!present)
            return;
        channel.reserve(std::max(m_points, m_count + 1));
        channel.resize(m_count, none<T>());
    }
    channel.push_back(value);
}

void ChannelBuilder::append(const PointChannels& point)
{
    add(m_channels.altitude, point.altitude, !std::isnan(point.altitude));
    add(m_channels.heartRate, point.heartRate, !std::isnan(point.heartRate));
    add(m_channels.cadence, point.cadence, !std::isnan(point.cadence));
    add(m_channels.position, point.position, !std::isnan(point.position.latitude));
    ++m_count;
}

TrackChannels ChannelBuilder::take()
{
    return std::move(m_channels);
}

} // namespace torvanu
