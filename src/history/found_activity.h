#pragma once

#include "activity/activity.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace torvanu {

// What a scan keeps of one activity: a summary, never its track, so that a history of
// thousands of files fits in a few megabytes.
struct FoundActivity
{
    QString file;  // a path in the folder, or a member's path in the archive
    int index = 0; // which activity of its file
    Sport sport = Sport::Unknown;
    QDateTime start; // UTC; invalid when the file gives no date
    bool timed = true;
    double elapsed = 0;      // seconds
    double distance = 0;     // metres
    QString name;            // the export's name, else the track's own, else empty
    bool raceMarked = false; // the export calls it a race
    QString problem;         // why the file could not be read; empty when it was
};

enum class SourceKind
{
    Folder,
    Archive,
    File,
};

struct HistoryScan
{
    QString source;
    SourceKind kind = SourceKind::Folder;
    QList<FoundActivity> found; // by file, then by activity
    QString problem;            // one message for the whole source (unreadable, too many files)
    bool cancelled = false;
};

} // namespace torvanu
