#pragma once

#include "activity/activity.h"

#include <QString>
#include <QTimeZone>

#include <array>
#include <optional>

namespace torvanu {

// What the record editor takes from an activity, as indexes into its pickers' entries, so
// that the entries stay the editor's own.
struct ImportFill
{
    std::optional<std::array<int, 3>> date; // year, month, day; nothing without a date
    QString distance;                       // km, three decimals at most
    std::optional<std::array<int, 3>> time; // hours, minutes, seconds; nothing if untimed
    bool timeTooLong = false;               // longer than the hours picker reaches
};

ImportFill importFill(const Activity& activity, const QTimeZone& zone);

// The sport as the chooser and the history import name it.
QString sportCaption(Sport sport);

// One line per activity for the chooser: its name (a GPX track's own) or else its sport, then
// the local start, the distance and the time.
QString activityCaption(const Activity& activity, const QTimeZone& zone);

// The line for all the tracks of a file taken as one record.
QString allTracksCaption(const Activity& allTracks, const QTimeZone& zone);

} // namespace torvanu
