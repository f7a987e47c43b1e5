#pragma once

// What every reader promises for any bytes: an error or activities, never both, and every
// figure finite, never negative, along a track whose time and distance never step back.

#include "activity/activity.h"
#include "activity/race_analysis.h"
#include "property.h"

#include <cmath>

namespace torvanu::fuzz {

inline bool sound(double value)
{
    return std::isfinite(value) && value >= 0;
}

inline void requireSound(const ActivityReadResult& result)
{
    require(result.error.has_value() != !result.activities.isEmpty(),
            "an error or activities, never both or neither");
    for (const Activity& activity : result.activities) {
        require(sound(activity.elapsed) && sound(activity.timer) && sound(activity.distance),
                "totals finite and not negative");
        if (activity.start.sinceDeviceStart)
            require(!activity.start.utc.isValid(), "a start is a date or a count, not both");
        for (const Lap& lap : activity.laps)
            require(sound(lap.start) && sound(lap.elapsed) && sound(lap.timer) &&
                        sound(lap.distance),
                    "lap figures finite and not negative");
        const TrackPoint* previous = nullptr;
        for (const TrackPoint& point : activity.track) {
            require(sound(point.time) && sound(point.distance), "track finite and not negative");
            if (previous)
                require(point.time >= previous->time && point.distance >= previous->distance,
                        "track never steps back");
            previous = &point;
        }
        const TrackChannels& channels = activity.channels;
        for (const std::size_t size : {channels.altitude.size(), channels.heartRate.size(),
                                       channels.cadence.size(), channels.position.size()})
            require(size == 0 || size == activity.track.size(),
                    "a channel empty or as long as the track");
        require(sound(activity.fileAscent.value_or(0)) && sound(activity.fileDescent.value_or(0)),
                "the file's climb finite and not negative");
        const RaceAnalysis analysis = analyseRace(activity.track);
        double sum = analysis.restSeconds;
        for (const KmSplit& split : analysis.splits) {
            require(sound(split.seconds), "splits finite and not negative");
            sum += split.seconds;
        }
        require(std::abs(sum - analysis.finishTime) <= 1e-6 * std::max(1.0, analysis.finishTime),
                "splits add up to the finish");
    }
}

} // namespace torvanu::fuzz
