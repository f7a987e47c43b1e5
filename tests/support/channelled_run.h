#pragma once

#include "activity/activity.h"

#include <cmath>
#include <numbers>

namespace torvanu::test {

// Which channels channelledRun fills; the others stay empty, as a file without them leaves them.
struct RunChannels
{
    bool altitude = true;
    bool heartRate = true;
    bool position = true;
};

// A run with a point every second, as a watch records it: laps of a circle of radius metres
// around a point of latitude degrees, two minutes at 3 m/s and two at 3.6 m/s in turn, rolling
// hills of 15 m every 3 km and a heart rate rising from 130 to 170. Header-only, so that the
// views' tests, which link no window, take it too.
inline Activity channelledRun(int seconds, RunChannels channels = {}, double latitude = 35.68,
                              double radius = 800)
{
    constexpr double kMetresPerDegree = 6'371'008.8 * std::numbers::pi / 180;
    Activity run;
    double distance = 0;
    for (int t = 0; t <= seconds; ++t) {
        run.track.push_back({static_cast<double>(t), distance});
        const double angle = distance / radius;
        if (channels.altitude)
            run.channels.altitude.push_back(
                static_cast<float>(40 + 15 * std::sin(distance / 3000 * 2 * std::numbers::pi)));
        if (channels.heartRate)
            run.channels.heartRate.push_back(static_cast<float>(130 + 40.0 * t / seconds));
        if (channels.position) {
            const double north = radius * std::sin(angle) / kMetresPerDegree;
            const double east = radius * (1 - std::cos(angle)) / kMetresPerDegree /
                                std::cos(latitude * std::numbers::pi / 180);
            run.channels.position.push_back({latitude + north, 139.76 + east});
        }
        distance += (t / 120) % 2 == 0 ? 3.0 : 3.6;
    }
    run.elapsed = run.timer = seconds;
    run.distance = run.track.back().distance;
    return run;
}

} // namespace torvanu::test
