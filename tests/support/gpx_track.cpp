#include "gpx_track.h"

#include <QDateTime>
#include <QTimeZone>

#include <numbers>

namespace torvanu::test {

QByteArray gpxTrack(int points, const QByteArray& type, int firstSecond, bool timed)
{
    constexpr double degreesPer100m = 100 / (6'371'008.8 * std::numbers::pi / 180);
    QByteArray text = "<trk>";
    if (!type.isEmpty())
        text += "<type>" + type + "</type>";
    text += "<trkseg>";
    for (int i = 0; i < points; ++i) {
        text += "<trkpt lat=\"" + QByteArray::number(i * degreesPer100m, 'f', 9) + "\" lon=\"0\">";
        if (timed) {
            const QDateTime time = QDateTime(QDate(2024, 11, 8), QTime(12, 0), QTimeZone::utc())
                                       .addSecs(firstSecond + 30 * i);
            text += "<time>" + time.toString(Qt::ISODate).toLatin1() + "</time>";
        }
        text += "</trkpt>";
    }
    return text + "</trkseg></trk>";
}

QByteArray gpxFile(const QByteArray& tracks)
{
    return "<?xml version=\"1.0\"?><gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">" +
           tracks + "</gpx>";
}

} // namespace torvanu::test
