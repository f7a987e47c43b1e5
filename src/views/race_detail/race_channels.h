#pragma once

#include "activity/activity.h"
#include "activity/race_analysis.h"

#include <optional>
#include <vector>

namespace torvanu {

// What the channels say of one row of the split table.
struct KmChannels
{
    std::optional<double> heartRate; // time-weighted mean, beats per minute
    std::optional<double> ascent;    // metres
    std::optional<double> descent;
    // How much harder than the flat the row's gradients made it (see flatEquivalent): its
    // grade-adjusted pace is its pace divided by this.
    std::optional<double> effortFactor;
};

// Heart rate, climbs, grade-adjusted pace and cadence of a race, as far as its file has them.
struct RaceChannels
{
    bool heartRate = false; // the file has the channel
    bool altitude = false;
    bool cadence = false;
    std::vector<KmChannels> rows; // one per whole km, then the rest up to the finish, if any
    std::optional<double> averageHeartRate;
    std::optional<double> maxHeartRate;
    std::optional<double> ascent; // metres, from the smoothed elevation
    std::optional<double> descent;
    std::optional<double> averageCadence; // steps per minute, standing still left out
};

RaceChannels raceChannels(const Activity& activity, const RaceAnalysis& analysis);

} // namespace torvanu
