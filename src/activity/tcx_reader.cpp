#include "activity/tcx_reader.h"

#include "activity/gpx_reader.h"
#include "activity/channel_builder.h"
#include "activity/track_math.h"
#include "activity/xml_activity.h"
#include "activity/xml_document.h"

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
    PointChannels channels; // a NaN latitude for a point without a fix
};

bool hasFix(const TcxPoint& point)
{
    return !std::isnan(point.channels.position.latitude);
}

struct TcxLap
{
    std::optional<double> start; // seconds since 1970
    double timer = 0;
    std::optional<double> distance;
};

struct TcxActivity
{
    QString name;
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

std::string_view textOf(const pugi::xml_node& element)
{
    return element.child_value();
}

// Texts have no name, and comments and the like are not kept: in the loops over a point's
// children a name alone tells an element.
bool isElement(const pugi::xml_node& node)
{
    return node.type() == pugi::node_element;
}

void readPosition(const pugi::xml_node& element, TcxPoint& point)
{
    std::optional<double> latitude;
    std::optional<double> longitude;
    for (const pugi::xml_node& child : element.children()) {
        const std::string_view name = localName(child);
        if (name == "LatitudeDegrees")
            latitude = xmlNumber(textOf(child));
        else if (name == "LongitudeDegrees")
            longitude = xmlNumber(textOf(child));
    }
    if (latitude && longitude && std::abs(*latitude) <= 90 && std::abs(*longitude) <= 180)
        point.channels.position = {*latitude, *longitude};
}

float cadenceOf(const pugi::xml_node& element)
{
    const float cadence = sampleOf(xmlNumber(textOf(element)));
    return cadence >= 0 ? cadence * kStepsPerStride : PointChannels::kNone;
}

// The running cadence of the activity extension, whatever prefix the file gives it.
void readExtensions(const pugi::xml_node& element, TcxPoint& point)
{
    for (const pugi::xml_node& extension : element.children()) {
        if (!hasLocalName(extension, "TPX"))
            continue;
        for (const pugi::xml_node& child : extension.children()) {
            if (localName(child) == "RunCadence")
                point.channels.cadence = cadenceOf(child);
        }
    }
}

void readTrack(const pugi::xml_node& element, std::vector<TcxPoint>& points)
{
    for (const pugi::xml_node& trackpoint : element.children()) {
        if (!isElement(trackpoint) || !hasLocalName(trackpoint, "Trackpoint"))
            continue;
        TcxPoint point;
        for (const pugi::xml_node& child : trackpoint.children()) {
            const std::string_view name = localName(child);
            if (name == "Time")
                point.time = xmlTime(textOf(child));
            else if (name == "DistanceMeters")
                point.distance = nonNegative(xmlNumber(textOf(child)));
            else if (name == "Position")
                readPosition(child, point);
            else if (name == "AltitudeMeters")
                point.channels.altitude = sampleOf(xmlNumber(textOf(child)));
            else if (name == "HeartRateBpm")
                point.channels.heartRate =
                    heartRateOf(xmlNumber(textOf(childNamed(child, "Value"))));
            else if (name == "Cadence")
                point.channels.cadence = cadenceOf(child);
            else if (name == "Extensions")
                readExtensions(child, point);
        }
        points.push_back(point);
    }
}

void readLap(const pugi::xml_node& element, TcxActivity& activity)
{
    TcxLap lap;
    lap.start = xmlTime(element.attribute("StartTime").value());
    for (const pugi::xml_node& child : element.children()) {
        const std::string_view name = localName(child);
        if (name == "TotalTimeSeconds")
            lap.timer = nonNegative(xmlNumber(textOf(child))).value_or(0);
        else if (name == "DistanceMeters")
            lap.distance = nonNegative(xmlNumber(textOf(child)));
        else if (name == "Track")
            readTrack(child, activity.points);
    }
    activity.laps.push_back(lap);
}

TcxActivity readActivity(const pugi::xml_node& element, bool plan)
{
    TcxActivity activity;
    activity.plan = plan;
    const std::string_view sport = element.attribute("Sport").value();
    activity.sport =
        sportFromText(QString::fromUtf8(sport.data(), static_cast<qsizetype>(sport.size())));
    for (const pugi::xml_node& child : element.children()) {
        if (!isElement(child))
            continue;
        if (hasLocalName(child, "Id") && !plan) {
            activity.id = xmlTime(textOf(child));
        } else if (hasLocalName(child, "Name") && plan) {
            const std::string_view name = textOf(child);
            activity.name =
                QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).trimmed();
        } else if (hasLocalName(child, "Lap")) {
            readLap(child, activity);
        } else if (hasLocalName(child, "Track")) {
            readTrack(child, activity.points);
        }
    }
    return activity;
}

// Activities sit in Activities, in a MultiSportSession's FirstSport and NextSport, and
// courses in Courses: every element but those two is looked into. The tree is no deeper than
// the parser's limit, and so neither is the recursion.
void collect(const pugi::xml_node& element, std::vector<TcxActivity>& activities)
{
    for (const pugi::xml_node& child : element.children()) {
        if (!isElement(child) || activities.size() > static_cast<std::size_t>(kMaxActivities))
            continue;
        if (hasLocalName(child, "Activity"))
            activities.push_back(readActivity(child, false));
        else if (hasLocalName(child, "Course"))
            activities.push_back(readActivity(child, true));
        else if (!hasLocalName(child, "Extensions"))
            collect(child, activities);
    }
}

std::optional<Activity> activityOf(const TcxActivity& read)
{
    if (read.laps.empty() && read.points.empty())
        return std::nullopt;
    Activity activity;
    activity.name = read.name;
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
    ChannelBuilder channels(read.points.size());
    for (const TcxPoint& point : read.points) {
        if (point.distance) {
            distance = *point.distance;
        } else if (previous && hasFix(point)) {
            const GeoPoint& from = previous->channels.position;
            const GeoPoint& to = point.channels.position;
            distance += greatCircleMetres(from.latitude, from.longitude, to.latitude, to.longitude);
        }
        if (hasFix(point))
            previous = &point;
        if (activity.timed && !point.time)
            continue;
        appendTrackPoint(activity.track, activity.timed ? *point.time - *start : 0, distance);
        channels.append(point.channels);
    }
    activity.channels = channels.take();

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
    XmlDocument document;
    if (auto error = document.parse(bytes, ActivityFormat::Tcx)) {
        result.error = error;
        return result;
    }
    if (!hasLocalName(document.root(), "TrainingCenterDatabase")) {
        result.error = activityError(ActivityError::Kind::Foreign, ActivityFormat::Tcx);
        return result;
    }
    std::vector<TcxActivity> read;
    collect(document.root(), read);
    std::size_t points = 0;
    for (const TcxActivity& activity : read)
        points += activity.points.size() + activity.laps.size();
    if (read.size() > static_cast<std::size_t>(kMaxActivities)) {
        result.error = activityError(ActivityError::Kind::TooManyActivities, result.format);
        return result;
    }
    if (points > kMaxActivityPoints) {
        result.error = activityError(ActivityError::Kind::TooManyRecords, result.format);
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
