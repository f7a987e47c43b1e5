#include "activity/gpx_reader.h"

#include "activity/channel_builder.h"
#include "activity/track_math.h"
#include "activity/xml_activity.h"
#include "activity/xml_document.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace torvanu {

namespace {

struct GpxPoint
{
    std::optional<double> time; // seconds since 1970
    PointChannels channels;     // its position always set: a point without one is left out
};

struct GpxTrack
{
    QString name;
    Sport sport = Sport::Unknown;
    std::vector<GpxPoint> points;
};

std::string_view textOf(const pugi::xml_node& element)
{
    return element.child_value();
}

// Heart rate and cadence in Garmin's TrackPointExtension, whatever prefix the file gives it.
void readExtensions(const pugi::xml_node& element, PointChannels& channels)
{
    for (const pugi::xml_node& extension : element.children()) {
        if (!hasLocalName(extension, "TrackPointExtension"))
            continue;
        for (const pugi::xml_node& child : extension.children()) {
            const std::string_view name = localName(child);
            if (name == "hr") {
                channels.heartRate = heartRateOf(xmlNumber(textOf(child)));
            } else if (name == "cad") {
                const float cadence = sampleOf(xmlNumber(textOf(child)));
                channels.cadence = cadence >= 0 ? cadence * kStepsPerStride : PointChannels::kNone;
            }
        }
    }
}

// A point without a usable position is left out: it cannot add to the distance.
void readPoint(const pugi::xml_node& element, std::vector<GpxPoint>& points)
{
    const auto latitude = xmlNumber(std::string_view(element.attribute("lat").value()));
    const auto longitude = xmlNumber(std::string_view(element.attribute("lon").value()));
    GpxPoint point;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string_view name = localName(child);
        if (name == "time")
            point.time = xmlTime(textOf(child));
        else if (name == "ele")
            point.channels.altitude = sampleOf(xmlNumber(textOf(child)));
        else if (name == "extensions")
            readExtensions(child, point.channels);
    }
    if (!latitude || !longitude || std::abs(*latitude) > 90 || std::abs(*longitude) > 180)
        return;
    point.channels.position = {*latitude, *longitude};
    points.push_back(point);
}

// A track (trk with trkseg and trkpt) or a route (rte with rtept).
// At most how many points a route holds (its nodes) or a track (the nodes of its segments).
// Set aside once, the points are never moved as they grow: grown by doubling, a 4-hour track
// would take fresh memory again and again, and on some machines each fresh page costs
// microseconds.
std::size_t mostPoints(const pugi::xml_node& element, bool route)
{
    std::size_t count = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (route) {
            ++count;
            continue;
        }
        for (pugi::xml_node point = child.first_child(); point; point = point.next_sibling())
            ++count;
    }
    return count;
}

GpxTrack readTrack(const pugi::xml_node& element, bool route)
{
    GpxTrack track;
    track.points.reserve(mostPoints(element, route));
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (hasLocalName(child, "type")) {
            const std::string_view text = textOf(child);
            track.sport =
                sportFromText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        } else if (hasLocalName(child, "name")) {
            const std::string_view text = textOf(child);
            track.name =
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).simplified();
        } else if (route && hasLocalName(child, "rtept")) {
            readPoint(child, track.points);
        } else if (!route && hasLocalName(child, "trkseg")) {
            for (const pugi::xml_node& point : child.children()) {
                if (localName(point) == "trkpt" && point.type() == pugi::node_element)
                    readPoint(point, track.points);
            }
        }
    }
    return track;
}

Activity activityOf(GpxTrack track, bool route)
{
    Activity activity;
    activity.name = track.name;
    activity.sport = track.sport;
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
    ChannelBuilder channels(track.points.size());
    double distance = 0;
    for (std::size_t i = 0; i < track.points.size(); ++i) {
        const GpxPoint& point = track.points[i];
        if (i > 0) {
            const GpxPoint& previous = track.points[i - 1];
            const GeoPoint& from = previous.channels.position;
            const GeoPoint& to = point.channels.position;
            distance += greatCircleMetres(from.latitude, from.longitude, to.latitude, to.longitude);
        }
        appendTrackPoint(activity.track, activity.timed ? *point.time - first : 0, distance);
        channels.append(point.channels);
    }
    activity.channels = channels.take();
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
    XmlDocument document;
    if (auto error = document.parse(bytes, ActivityFormat::Gpx)) {
        result.error = error;
        return result;
    }
    const pugi::xml_node root = document.root();
    if (!hasLocalName(root, "gpx")) {
        result.error = activityError(ActivityError::Kind::Foreign, ActivityFormat::Gpx);
        return result;
    }
    std::vector<GpxTrack> tracks;
    std::vector<GpxTrack> routes;
    std::size_t points = 0;
    for (const pugi::xml_node& child : root.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const bool track = hasLocalName(child, "trk");
        if (!track && !hasLocalName(child, "rte"))
            continue;
        std::vector<GpxTrack>& into = track ? tracks : routes;
        into.push_back(readTrack(child, !track));
        points += into.back().points.size();
        if (into.size() > static_cast<std::size_t>(kMaxActivities)) {
            result.error = activityError(ActivityError::Kind::TooManyActivities, result.format);
            return result;
        }
        if (points > kMaxActivityPoints) {
            result.error = activityError(ActivityError::Kind::TooManyRecords, result.format);
            return result;
        }
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
