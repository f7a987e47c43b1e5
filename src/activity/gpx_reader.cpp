#include "activity/gpx_reader.h"

#include "activity/track_math.h"
#include "activity/xml_activity.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace torvanu {

namespace {

struct GpxPoint
{
    double latitude = 0;
    double longitude = 0;
    std::optional<double> time; // seconds since 1970
};

struct GpxTrack
{
    Sport sport = Sport::Unknown;
    QString name;
    std::vector<GpxPoint> points;
};

// A point without a usable position is left out: it cannot add to the distance.
void readPoint(QXmlStreamReader& reader, std::vector<GpxPoint>& points)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    const auto latitude = xmlNumber(attributes.value(QLatin1StringView("lat")));
    const auto longitude = xmlNumber(attributes.value(QLatin1StringView("lon")));
    GpxPoint point;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"time")
            point.time = parseXmlTime(reader.readElementText());
        else
            reader.skipCurrentElement();
    }
    if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180)
        return;
    point.latitude = *latitude;
    point.longitude = *longitude;
    points.push_back(point);
}

// A track (trk with trkseg and trkpt) or a route (rte with rtept).
GpxTrack readTrack(QXmlStreamReader& reader, bool route)
{
    GpxTrack track;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"type") {
            track.sport = sportFromText(reader.readElementText());
        } else if (name == u"name") {
            track.name = reader.readElementText().simplified();
        } else if (route && name == u"rtept") {
            readPoint(reader, track.points);
        } else if (!route && name == u"trkseg") {
            while (reader.readNextStartElement()) {
                if (reader.name() == u"trkpt")
                    readPoint(reader, track.points);
                else
                    reader.skipCurrentElement();
            }
        } else {
            reader.skipCurrentElement();
        }
    }
    return track;
}

Activity activityOf(GpxTrack track, bool route)
{
    Activity activity;
    activity.sport = track.sport;
    activity.name = track.name;
    const auto untimed = [](const GpxPoint& point) { return !point.time; };
    activity.timed = !route && std::none_of(track.points.begin(), track.points.end(), untimed);
    // Some exporters write the newest point first; read that way, every point would be held
    // at the first one's time and the run would last no time at all.
    if (activity.timed && *track.points.back().time < *track.points.front().time)
        std::reverse(track.points.begin(), track.points.end());
    const double first = activity.timed ? *track.points.front().time : 0;
    if (activity.timed)
        activity.start.utc = utcFromUnixSeconds(first);
    activity.track.reserve(track.points.size());
    double distance = 0;
    for (std::size_t i = 0; i < track.points.size(); ++i) {
        const GpxPoint& point = track.points[i];
        if (i > 0) {
            const GpxPoint& previous = track.points[i - 1];
            distance += greatCircleMetres(previous.latitude, previous.longitude, point.latitude,
                                          point.longitude);
        }
        appendTrackPoint(activity.track, activity.timed ? *point.time - first : 0, distance);
    }
    activity.elapsed = activity.track.back().time;
    activity.timer = activity.elapsed;
    activity.distance = activity.track.back().distance;
    return activity;
}

} // namespace

Sport sportFromText(QStringView text)
{
    const QString lower = text.trimmed().toString().toLower();
    if (lower.isEmpty())
        return Sport::Unknown;
    if (lower.contains(u"run"))
        return Sport::Running;
    if (lower.contains(u"walk") || lower.contains(u"hik"))
        return Sport::Walking;
    if (lower.contains(u"bik") || lower.contains(u"cycl") || lower.contains(u"ride"))
        return Sport::Cycling;
    if (lower.contains(u"swim"))
        return Sport::Swimming;
    if (lower.contains(u"transition"))
        return Sport::Transition;
    return Sport::Other;
}

ActivityReadResult readGpx(QByteArrayView bytes)
{
    ActivityReadResult result;
    result.format = ActivityFormat::Gpx;
    QXmlStreamReader reader(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (!reader.readNextStartElement() || reader.name() != u"gpx") {
        result.error = reader.hasError()
                           ? xmlError(reader, ActivityFormat::Gpx)
                           : activityError(ActivityError::Kind::Foreign, ActivityFormat::Gpx);
        return result;
    }
    std::vector<GpxTrack> tracks;
    std::vector<GpxTrack> routes;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"trk")
            tracks.push_back(readTrack(reader, false));
        else if (reader.name() == u"rte")
            routes.push_back(readTrack(reader, true));
        else
            reader.skipCurrentElement();
    }
    // Whatever follows the document must still be well-formed: a cut file is a damaged file.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError()) {
        result.error = xmlError(reader, ActivityFormat::Gpx);
        return result;
    }
    const bool plan = std::all_of(tracks.begin(), tracks.end(),
                                  [](const GpxTrack& track) { return track.points.empty(); });
    for (GpxTrack& track : plan ? routes : tracks) {
        if (!track.points.empty())
            result.activities.append(activityOf(std::move(track), plan));
    }
    if (result.activities.isEmpty())
        result.error = activityError(ActivityError::Kind::NoActivity, ActivityFormat::Gpx);
    return result;
}

} // namespace torvanu
