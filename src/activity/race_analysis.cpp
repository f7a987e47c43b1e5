#include "activity/race_analysis.h"

#include <cmath>

namespace torvanu {

namespace {

// Times at distances asked in increasing order, in one pass along the track.
class TimeAtDistance
{
public:
    explicit TimeAtDistance(const std::vector<TrackPoint>& track) : m_track(track) {}

    double operator()(double distance)
    {
        while (m_next < m_track.size() && m_track[m_next].distance < distance) {
            m_previous = m_track[m_next];
            ++m_next;
        }
        if (m_next == m_track.size())
            return m_previous.time;
        const TrackPoint& after = m_track[m_next];
        // after.distance >= distance > m_previous.distance: never a division by zero.
        const double share =
            (distance - m_previous.distance) / (after.distance - m_previous.distance);
        return m_previous.time + share * (after.time - m_previous.time);
    }

private:
    const std::vector<TrackPoint>& m_track;
    std::size_t m_next = 0;
    TrackPoint m_previous;
};

} // namespace

RaceAnalysis analyseRace(const std::vector<TrackPoint>& track)
{
    RaceAnalysis analysis;
    if (track.empty())
        return analysis;
    analysis.finishTime = track.back().time;
    analysis.finishDistance = track.back().distance;
    analysis.restSeconds = analysis.finishTime;
    analysis.restDistance = analysis.finishDistance;
    if (!(analysis.finishDistance > 0))
        return analysis;

    const double kms = std::floor(analysis.finishDistance / kMetresPerKm);
    const int wholeKms = kms <= kMaxSplitKms ? static_cast<int>(kms) : 0;
    analysis.splits.reserve(static_cast<std::size_t>(wholeKms));
    TimeAtDistance timeAt(track);
    double previous = 0;
    for (int km = 1; km <= wholeKms; ++km) {
        const double time = timeAt(km * kMetresPerKm);
        analysis.splits.push_back({km, time, time - previous});
        previous = time;
    }
    analysis.restSeconds = analysis.finishTime - previous;
    analysis.restDistance = analysis.finishDistance - wholeKms * kMetresPerKm;

    analysis.firstHalf = TimeAtDistance(track)(analysis.finishDistance / 2);
    analysis.secondHalf = analysis.finishTime - analysis.firstHalf;
    if (analysis.firstHalf > 0)
        analysis.halfSplitPercent =
            (analysis.secondHalf - analysis.firstHalf) / analysis.firstHalf * 100;

    for (const KmSplit& split : analysis.splits) {
        const auto seconds = [&](std::optional<int> km) {
            return analysis.splits[static_cast<std::size_t>(*km - 1)].seconds;
        };
        if (!analysis.fastestKm || split.seconds < seconds(analysis.fastestKm))
            analysis.fastestKm = split.km;
        if (!analysis.slowestKm || split.seconds > seconds(analysis.slowestKm))
            analysis.slowestKm = split.km;
    }
    return analysis;
}

} // namespace torvanu
