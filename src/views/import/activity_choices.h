#pragma once

#include "activity/activity.h"

#include <QList>
#include <QStringList>
#include <QTimeZone>

namespace torvanu {

// What a data file offers to choose from: each of its activities and, for a GPX of several
// timed tracks, all of them as one record at the end; with the line that names each.
struct ActivityChoices
{
    QList<Activity> activities;
    QStringList captions; // one per activity, in the same order
    int preferred = 0;    // the entry offered first
};

ActivityChoices activityChoices(ActivityReadResult read, const QTimeZone& zone);

} // namespace torvanu
