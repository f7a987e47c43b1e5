#pragma once

#include "analysis/track_point.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace torvanu {

enum class Sport
{
    Unknown,
    Running,
    Walking,
    Cycling,
    Swimming,
    Transition, // between two legs of a multisport race
    Other,
};

// A position in degrees (WGS 84), as a GPS gives it.
struct GeoPoint
{
    double latitude = 0;
    double longitude = 0;
};

// What a watch records beside time and distance, sample for sample with Activity::track: a
// channel is either empty (the file has none of it) or exactly as long as the track, with NaN
// where a point has no sample (a NaN latitude for a point without a fix).
struct TrackChannels
{
    std::vector<float> altitude;  // metres above sea level
    std::vector<float> heartRate; // beats per minute
    std::vector<float> cadence;   // steps per minute, both legs together
    std::vector<GeoPoint> position;
};

struct Lap
{
    double start = 0;   // seconds since the activity's start
    double elapsed = 0; // seconds from the lap's start to its end, pauses included
    double timer = 0;   // seconds the clock ran
    double distance = 0;
};

// When an activity began. Some watches that have never seen a satellite count their FIT times
// from their own start: such a start is kept as that count, never shown as a date.
struct ActivityStart
{
    QDateTime utc;                          // invalid when the file gives no date
    std::optional<double> sinceDeviceStart; // seconds, for the watches above
};

struct Activity
{
    QString name; // as the file names it (a GPX track's or a TCX course's name); often empty
    Sport sport = Sport::Unknown;
    ActivityStart start;
    bool timed = true;  // false for a planned route: only its distance means anything
    double elapsed = 0; // seconds from start to finish, what a race result is
    double timer = 0;   // seconds the clock ran, pauses left out
    double distance = 0;
    QList<Lap> laps;
    std::vector<TrackPoint> track;
    TrackChannels channels;
    // Metres climbed and descended over the whole activity, as the file's own summary says
    // (a FIT session's totals); nothing when it says nothing.
    std::optional<double> fileAscent;
    std::optional<double> fileDescent;
};

// No real file comes near these; past them a file is refused, so that no file can make a
// reader take more time or memory than its size alone would.
constexpr qsizetype kMaxActivities = 10'000;          // tracks, activities or sessions
constexpr std::size_t kMaxActivityPoints = 2'000'000; // points of all the tracks, and laps

enum class ActivityFormat
{
    Gpx,
    Tcx,
    Fit,
};

struct ActivityError
{
    enum class Kind
    {
        TooLarge,          // over the size limit; not read at all
        Unreadable,        // the file could not be opened or read
        Empty,             // no bytes
        Foreign,           // neither GPX, TCX nor FIT
        XmlDamaged,        // GPX or TCX that is not well-formed XML; see line
        FitHeader,         // a FIT file header that is not one
        FitTruncated,      // the FIT data stops in the middle
        FitCrc,            // a FIT checksum does not match its bytes
        FitDamaged,        // a FIT record that cannot be understood
        TooManyRecords,    // more points (FIT records and laps) than any activity has
        NoActivity,        // the file reads, but holds no track, lap or session
        TooManyActivities, // more tracks, activities or sessions than any real file has
        XmlTooDeep,        // XML elements nested deeper than any real file nests them
        XmlTooLarge,       // an XML tree larger than the memory set aside for one
        GzipDamaged,       // a .gz file that does not inflate
        GzipTooLarge,      // a .gz file that inflates past the size limit; not inflated whole
    };
    Kind kind = Kind::Foreign;
    ActivityFormat format = ActivityFormat::Fit; // for the kinds that name a format
    qint64 line = 0;                             // for XmlDamaged
    qint64 offset = 0;                           // byte offset in a FIT file, for a developer
};

inline ActivityError activityError(ActivityError::Kind kind, ActivityFormat format)
{
    ActivityError error;
    error.kind = kind;
    error.format = format;
    return error;
}

struct ActivityReadResult
{
    ActivityFormat format = ActivityFormat::Fit;
    QList<Activity> activities; // empty exactly when error is set
    std::optional<ActivityError> error;
};

} // namespace torvanu
