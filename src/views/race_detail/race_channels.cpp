#include "views/race_detail/race_channels.h"

#include "analysis/elevation_profile.h"
#include "analysis/time_weighted.h"
#include "calc/units.h"

namespace torvanu {

namespace {

// A row of the split table as a stretch of the race.
struct Stretch
{
    double fromTime;
    double toTime;
    double fromMetres;
    double toMetres;
};

std::vector<Stretch> stretches(const RaceAnalysis& analysis)
{
    std::vector<Stretch> made;
    made.reserve(analysis.splits.size() + 1);
    double time = 0;
    double metres = 0;
    for (const KmSplit& split : analysis.splits) {
        const double end = split.km * kMetresPerKm;
        made.push_back({time, split.time, metres, end});
        time = split.time;
        metres = end;
    }
    if (analysis.restDistance > 0 || analysis.finishTime > time)
        made.push_back({time, analysis.finishTime, metres, analysis.finishDistance});
    return made;
}

} // namespace

RaceChannels raceChannels(const Activity& activity, const RaceAnalysis& analysis)
{
    const TrackChannels& channels = activity.channels;
    const std::size_t points = activity.track.size();
    std::vector<double> times(points);
    std::vector<double> distances(points);
    for (std::size_t i = 0; i < points; ++i) {
        times[i] = activity.track[i].time;
        distances[i] = activity.track[i].distance;
    }
    const TimeWeighted heart(times, channels.heartRate, {});
    const TimeWeighted cadence(times, channels.cadence, {.skipZero = true});
    const ElevationProfile profile(distances, channels.altitude);

    RaceChannels made;
    made.heartRate = !heart.empty();
    made.cadence = !cadence.empty();
    made.altitude = !profile.empty();
    made.averageHeartRate = heart.mean();
    made.maxHeartRate = heart.max();
    made.averageCadence = cadence.mean();
    if (made.altitude) {
        made.ascent = profile.total().ascent;
        made.descent = profile.total().descent;
    }
    for (const Stretch& stretch : stretches(analysis)) {
        KmChannels row;
        row.heartRate = heart.mean(stretch.fromTime, stretch.toTime);
        if (made.altitude) {
            const Climb climb = profile.between(stretch.fromMetres, stretch.toMetres);
            row.ascent = climb.ascent;
            row.descent = climb.descent;
            if (stretch.toMetres > stretch.fromMetres)
                row.effortFactor = profile.effortFactor(stretch.fromMetres, stretch.toMetres);
        }
        made.rows.push_back(row);
    }
    return made;
}

} // namespace torvanu
