#include "activity/tcx_reader.h"

#include "activity/gpx_reader.h"
#include "activity/track_math.h"
#include "activity/xml_activity.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace torvanu {

namespace {

struct TcxPoint
{
    std::optional<double> time; // seconds since 1970
    std::optional<double> distance;
    std::optional<double> latitude;
    std::optional<double> longitude;
};

struct TcxLap
{
    std::optional<double> start; // seconds since 1970
    double timer = 0;
    std::optional<double> distance;
};

struct TcxActivity
{
    Sport sport = Sport::Unknown;
    bool plan = false;
    std::optional<double> id; // the start, for an activity
    std::vector<TcxLap> laps;
    std::vector<TcxPoint> points;
};

std::optional<double> nonNegative(std::optional<double> value)
{
    return value && *value >= 0 ? value : std::nullopt;
}

void readPosition(QXmlStreamReader& reader, TcxPoint& point)
{
    while (reader.readNextStartElement()) {
        if (reader.name() == u"LatitudeDegrees")
            point.latitude = xmlNumber(reader.readElementText());
        else if (reader.name() == u"LongitudeDegrees")
            point.longitude = xmlNumber(reader.readElementText());
        else
            reader.skipCurrentElement();
    }
    if (!point.latitude || !point.longitude || std::abs(*point.latitude) > 90 ||
        std::abs(*point.longitude) > 180) {
        point.latitude.reset();
        point.longitude.reset();
    }
}

void readTrack(QXmlStreamReader& reader, std::vector<TcxPoint>& points)
{
    while (reader.readNextStartElement()) {
        if (reader.name() != u"Trackpoint") {
            reader.skipCurrentElement();
            continue;
        }
        TcxPoint point;
        while (reader.readNextStartElement()) {
            const QStringView name = reader.name();
            if (name == u"Time")
                point.time = parseXmlTime(reader.readElementText());
            else if (name == u"DistanceMeters")
                point.distance = nonNegative(xmlNumber(reader.readElementText()));
            else if (name == u"Position")
                readPosition(reader, point);
            else
                reader.skipCurrentElement();
        }
        points.push_back(point);
    }
}

void readLap(QXmlStreamReader& reader, TcxActivity& activity)
{
    TcxLap lap;
    lap.start = parseXmlTime(reader.attributes().value(QLatin1StringView("StartTime")));
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"TotalTimeSeconds")
            lap.timer = nonNegative(xmlNumber(reader.readElementText())).value_or(0);
        else if (name == u"DistanceMeters")
            lap.distance = nonNegative(xmlNumber(reader.readElementText()));
        else if (name == u"Track")
            readTrack(reader, activity.points);
        else
            reader.skipCurrentElement();
    }
    activity.laps.push_back(lap);
}

TcxActivity readActivity(QXmlStreamReader& reader, bool plan)
{
    TcxActivity activity;
    activity.plan = plan;
    activity.sport = sportFromText(reader.attributes().value(QLatin1StringView("Sport")));
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"Id" && !plan)
            activity.id = parseXmlTime(reader.readElementText());
        else if (name == u"Lap")
            readLap(reader, activity);
        else if (name == u"Track")
            readTrack(reader, activity.points);
        else
            reader.skipCurrentElement();
    }
    return activity;
}

// Activities sit in Activities, in a MultiSportSession's FirstSport and NextSport, and
// courses in Courses: every element but those two is looked into.
void collect(QXmlStreamReader& reader, std::vector<TcxActivity>& activities, int depth)
{
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"Activity")
            activities.push_back(readActivity(reader, false));
        else if (name == u"Course")
            activities.push_back(readActivity(reader, true));
        else if (name == u"Extensions" || depth >= kMaxXmlDepth)
            reader.skipCurrentElement();
        else
            collect(reader, activities, depth + 1);
    }
}

std::optional<Activity> activityOf(const TcxActivity& read)
{
    if (read.laps.empty() && read.points.empty())
        return std::nullopt;
    Activity activity;
    activity.sport = read.sport;
    std::optional<double> start = read.id;
    if (!read.laps.empty() && read.laps.front().start)
        start = read.laps.front().start;
    for (const TcxPoint& point : read.points) {
        if (point.time && (!start || *point.time < *start))
            start = point.time;
    }
    activity.timed = !read.plan && start.has_value();
    if (activity.timed)
        activity.start.utc = utcFromUnixSeconds(*start);

    // Distance as the watch measured it; where a point gives none, along the positions.
    double distance = 0;
    const TcxPoint* previous = nullptr;
    for (const TcxPoint& point : read.points) {
        if (point.distance) {
            distance = *point.distance;
        } else if (previous && point.latitude) {
            distance += greatCircleMetres(*previous->latitude, *previous->longitude,
                                          *point.latitude, *point.longitude);
        }
        if (point.latitude)
            previous = &point;
        if (activity.timed && !point.time)
            continue;
        appendTrackPoint(activity.track, activity.timed ? *point.time - *start : 0, distance);
    }

    double lapDistance = 0;
    bool lapsHaveDistance = !read.laps.empty();
    double lapsEnd = 0;
    for (const TcxLap& lap : read.laps) {
        Lap made;
        made.start = activity.timed && lap.start ? std::max(0.0, *lap.start - *start) : 0;
        made.timer = lap.timer;
        made.elapsed = lap.timer;
        made.distance = lap.distance.value_or(0);
        lapsHaveDistance = lapsHaveDistance && lap.distance.has_value();
        lapDistance += made.distance;
        activity.timer += lap.timer;
        lapsEnd = std::max(lapsEnd, made.start + made.timer);
        activity.laps.append(made);
    }
    // A lap's end is the next lap's start, pauses and all.
    for (qsizetype i = 0; i + 1 < activity.laps.size(); ++i) {
        if (activity.timed && read.laps[static_cast<std::size_t>(i + 1)].start)
            activity.laps[i].elapsed = std::max(activity.laps[i].timer, activity.laps[i + 1].start -
                                                                            activity.laps[i].start);
    }

    const double trackTime = activity.track.empty() ? 0 : activity.track.back().time;
    const double trackDistance = activity.track.empty() ? 0 : activity.track.back().distance;
    // Laps' times are rounded on their own: their sum may pass the finish by a fraction.
    activity.elapsed = activity.timed ? std::max({trackTime, lapsEnd, activity.timer}) : 0;
    if (read.laps.empty())
        activity.timer = activity.elapsed;
    activity.distance = lapsHaveDistance ? lapDistance : trackDistance;
    if (!activity.timed)
        activity.timer = 0;
    return activity;
}

} // namespace

ActivityReadResult readTcx(QByteArrayView bytes)
{
    ActivityReadResult result;
    result.format = ActivityFormat::Tcx;
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (!reader.readNextStartElement() || reader.name() != u"TrainingCenterDatabase") {
        result.error = reader.hasError()
                           ? xmlError(reader, ActivityFormat::Tcx)
                           : activityError(ActivityError::Kind::Foreign, ActivityFormat::Tcx);
        return result;
    }
    std::vector<TcxActivity> read;
    collect(reader, read, 0);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError()) {
        result.error = xmlError(reader, ActivityFormat::Tcx);
        return result;
    }
    for (const TcxActivity& activity : read) {
        if (auto made = activityOf(activity))
            result.activities.append(std::move(*made));
    }
    if (result.activities.isEmpty())
        result.error = activityError(ActivityError::Kind::NoActivity, ActivityFormat::Tcx);
    return result;
}

} // namespace torvanu
