#include "gpx_track.h"

#include <QDateTime>
#include <QTimeZone>

#include <numbers>

namespace torvanu::test {

namespace {

// Point i at i * 100 m, at the second seconds(i) after noon, or without a time.
template <typename Seconds>
QByteArray track(int points, const QByteArray& type, bool timed, Seconds seconds)
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
        text += "</trkpt>";
    }
    return text + "</trkseg></trk>";
}

} // namespace

QByteArray gpxTrack(int points, const QByteArray& type, int firstSecond, bool timed)
{
    return track(points, type, timed, [firstSecond](int i) { return firstSecond + 30 * i; });
}

QByteArray gpxRun(const QList<int>& secondsPer100m)
{
    QList<int> passing{0};
    for (const int seconds : secondsPer100m)
        passing.append(passing.back() + seconds);
    return track(static_cast<int>(passing.size()), {}, true,
                 [&passing](int i) { return passing[i]; });
}

QByteArray gpxFile(const QByteArray& tracks)
{
    return "<?xml version=\"1.0\"?><gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">" +
           tracks + "</gpx>";
}

} // namespace torvanu::test
