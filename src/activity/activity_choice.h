#pragma once

#include "activity/activity.h"

#include <QDate>
#include <QList>
#include <QTimeZone>

#include <optional>

namespace torvanu {

// What a record of the book says about its race, each part only where its cell reads.
struct RaceFacts
{
    std::optional<QDate> date; // the day of the race, local time
    std::optional<double> metres;
    std::optional<double> seconds;
};

// The entry a chooser offers first: a timed run, else any timed activity, else a run, else
// the first. A planned route is never what a race result came from while a timed one is there.
int preferredActivity(const QList<Activity>& activities);

// A GPX of several timed tracks is often one race cut up by a watch that was paused or
// restarted: all of them as one activity, the distances summed and the time taken from the
// earliest point to the latest. Nothing for any other file.
std::optional<Activity> allTracksAsOne(const ActivityReadResult& read);

// The activity a record is about, among the timed ones: those of the record's day where there
// are any, and of them the one whose distance and time lie nearest the record's, each
// difference taken as a share of the record's value; a tie goes to the earlier. Without a
// distance or a time to compare, the preferred one.
int matchingActivity(const QList<Activity>& activities, const RaceFacts& race,
                     const QTimeZone& zone);

} // namespace torvanu
