#include "activity/activity_choice.h"

#include "activity/track_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace torvanu {

namespace {

constexpr double kMillisecondsPerSecond = 1000;

// Higher is better: being timed counts for more than being a run.
int preference(const Activity& activity)
{
    return (activity.timed ? 2 : 0) + (activity.sport == Sport::Running ? 1 : 0);
}

int firstPreferred(const QList<Activity>& activities, const QList<int>& among)
{
    int best = among.isEmpty() ? 0 : among.front();
    for (const int i : among) {
        if (preference(activities[i]) > preference(activities[best]))
            best = i;
    }
    return best;
}

} // namespace

int preferredActivity(const QList<Activity>& activities)
{
    QList<int> all;
    for (qsizetype i = 0; i < activities.size(); ++i)
        all.append(static_cast<int>(i));
    return firstPreferred(activities, all);
}

std::optional<Activity> allTracksAsOne(const ActivityReadResult& read)
{
    const QList<Activity>& tracks = read.activities;
    const auto timedWithDate = [](const Activity& a) { return a.timed && a.start.utc.isValid(); };
    if (read.format != ActivityFormat::Gpx || tracks.size() < 2 ||
        !std::all_of(tracks.begin(), tracks.end(), timedWithDate))
        return std::nullopt;

    // A file need not list its tracks in the order they were run.
    std::vector<const Activity*> order;
    order.reserve(static_cast<std::size_t>(tracks.size()));
    for (const Activity& track : tracks)
        order.push_back(&track);
    std::stable_sort(order.begin(), order.end(), [](const Activity* a, const Activity* b) {
        return a->start.utc < b->start.utc;
    });

    Activity all;
    all.sport = order.front()->sport;
    all.start = order.front()->start;
    std::size_t points = 0;
    for (const Activity* track : order)
        points += track->track.size();
    all.track.reserve(points);
    for (const Activity* track : order) {
        if (track->sport != all.sport)
            all.sport = Sport::Unknown;
        const double offset =
            static_cast<double>(all.start.utc.msecsTo(track->start.utc)) / kMillisecondsPerSecond;
        // The way between two tracks was not recorded: it adds time but no distance.
        const double before = all.distance;
        for (const TrackPoint& point : track->track)
            appendTrackPoint(all.track, offset + point.time, before + point.distance);
        all.elapsed = std::max(all.elapsed, offset + track->elapsed);
        all.timer += track->timer;
        all.distance += track->distance;
    }
    return all;
}

int matchingActivity(const QList<Activity>& activities, const RaceFacts& race,
                     const QTimeZone& zone)
{
    QList<int> candidates;
    for (qsizetype i = 0; i < activities.size(); ++i) {
        if (activities[i].timed)
            candidates.append(static_cast<int>(i));
    }
    if (candidates.isEmpty())
        return preferredActivity(activities);

    if (race.date) {
        QList<int> sameDay;
        for (const int i : candidates) {
            const QDateTime& start = activities[i].start.utc;
            if (start.isValid() && start.toTimeZone(zone).date() == *race.date)
                sameDay.append(i);
        }
        // A date mistyped in the book must not leave the race without its file.
        if (!sameDay.isEmpty())
            candidates = sameDay;
    }

    const bool byDistance = race.metres && *race.metres > 0;
    const bool byTime = race.seconds && *race.seconds > 0;
    if (!byDistance && !byTime)
        return firstPreferred(activities, candidates);
    const auto distanceFrom = [&](const Activity& activity) {
        double off = 0;
        if (byDistance)
            off += std::abs(activity.distance - *race.metres) / *race.metres;
        if (byTime)
            off += std::abs(activity.elapsed - *race.seconds) / *race.seconds;
        return std::isnan(off) ? std::numeric_limits<double>::infinity() : off;
    };
    int best = candidates.front();
    double bestOff = distanceFrom(activities[best]);
    for (const int i : candidates) {
        const double off = distanceFrom(activities[i]);
        if (off < bestOff) {
            best = i;
            bestOff = off;
        }
    }
    return best;
}

} // namespace torvanu
