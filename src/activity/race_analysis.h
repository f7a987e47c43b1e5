#pragma once

#include "activity/activity.h"
#include "calc/units.h"

#include <optional>
#include <vector>

namespace torvanu {

struct KmSplit
{
    int km = 0;         // 1 for the first kilometre
    double time = 0;    // seconds from the start to this whole kilometre
    double seconds = 0; // seconds this kilometre took
};

struct RaceAnalysis
{
    std::vector<KmSplit> splits; // one for every whole kilometre of the track
    double finishTime = 0;
    double finishDistance = 0; // metres
    double restSeconds = 0;    // after the last whole kilometre, up to the finish
    double restDistance = 0;   // metres
    double firstHalf = 0;      // seconds to half the distance
    double secondHalf = 0;     // seconds from there to the finish
    // How much slower the second half was than the first, in per cent; below 0 for a
    // negative split. Nothing when the first half took no time.
    std::optional<double> halfSplitPercent;
    std::optional<int> fastestKm; // as KmSplit::km
    std::optional<int> slowestKm;
};

// A track longer than this is no run: it gets no kilometre splits rather than a list that
// would not fit in memory.
constexpr double kMaxSplitKms = 100'000;

// The track's own start is taken as 0 s and 0 m, so a track whose first point came a moment
// after the gun still counts that moment in its first kilometre.
RaceAnalysis analyseRace(const std::vector<TrackPoint>& track);

} // namespace torvanu
