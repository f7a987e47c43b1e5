#include "gpx_track.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace torvanu::test {

namespace {

// Point i at i * 100 m, at the second seconds(i) after noon, or without a time.
template <typename Seconds>
QByteArray track(int points, const QByteArray& type, bool timed, bool channels, Seconds seconds)
{
    constexpr double degreesPer100m = 100 / (6'371'008.8 * std::numbers::pi / 180);
    QByteArray text = "<trk>";
    if (!type.isEmpty())
        text += "<type>" + type + "</type>";
    text += "<trkseg>";
    for (int i = 0; i < points; ++i) {
        text += "<trkpt lat=\"" + QByteArray::number(i * degreesPer100m, 'f', 9) + "\" lon=\"0\">";
        if (timed) {
            const QDateTime time =
                QDateTime(QDate(2024, 11, 8), QTime(12, 0), QTimeZone::utc()).addSecs(seconds(i));
            text += "<time>" + time.toString(Qt::ISODate).toLatin1() + "</time>";
        }
        if (channels) {
            const double hill = 30 * std::sin(std::numbers::pi * i / std::max(1, points - 1));
            text += "<ele>" + QByteArray::number(100 + hill, 'f', 1) +
                    "</ele><extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>" +
                    QByteArray::number(140 + i % 20) + "</gpxtpx:hr><gpxtpx:cad>" +
                    QByteArray::number(88 + i % 3) +
                    "</gpxtpx:cad></gpxtpx:TrackPointExtension></extensions>";
        }
        text += "</trkpt>";
    }
    return text + "</trkseg></trk>";
}

} // namespace

QByteArray gpxTrack(int points, const QByteArray& type, int firstSecond, bool timed, bool channels)
{
    return track(points, type, timed, channels,
                 [firstSecond](int i) { return firstSecond + 30 * i; });
}

QByteArray gpxRun(const QList<int>& secondsPer100m)
{
    QList<int> passing{0};
    for (const int seconds : secondsPer100m)
        passing.append(passing.back() + seconds);
    return track(static_cast<int>(passing.size()), {}, true, false,
                 [&passing](int i) { return passing[i]; });
}

QByteArray gpxFile(const QByteArray& tracks)
{
    return "<?xml version=\"1.0\"?><gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\" "
           "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">" +
           tracks + "</gpx>";
}

} // namespace torvanu::test
