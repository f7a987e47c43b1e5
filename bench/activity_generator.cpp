#include "activity_generator.h"

#include "fit_encoder.h"

#include <QDateTime>
#include <QTimeZone>

#include <cmath>
#include <cstdint>
#include <vector>

namespace torvanu::bench {

namespace {

constexpr std::uint32_t kStart = 1'100'000'000; // FIT time
constexpr double kUnixStart = 631'065'600.0 + kStart;
constexpr double kStartLatitude = 35.68;
constexpr double kStartLongitude = 139.76;
constexpr double kMetresPerDegree = 111'195.0;

struct Sample
{
    double latitude;
    double longitude;
    double distance; // metres
    double altitude;
    double speed; // metres per second
    int heartRate;
    int cadence;
};

// A little faster and slower by turns around 3.3 m/s, heading north-east and back.
Sample sampleAt(int second)
{
    const double speed = 3.3 + 0.3 * std::sin(second / 97.0);
    const double distance = 3.3 * second - 0.3 * 97.0 * (std::cos(second / 97.0) - 1);
    const double along = std::fmod(distance, 10'000.0) / kMetresPerDegree;
    return {kStartLatitude + along * 0.6,
            kStartLongitude + along * 0.8,
            distance,
            40 + 10 * std::sin(second / 600.0),
            speed,
            150 + static_cast<int>(10 * std::sin(second / 300.0)),
            88 + second % 5};
}

} // namespace

QByteArray generateFitRun(int seconds)
{
    using Field = test::FitEncoder::Field;
    constexpr std::uint8_t uint8 = 0x02, uint16 = 0x84, sint32 = 0x85, uint32 = 0x86;
    constexpr double semicircles = 2'147'483'648.0 / 180.0;
    test::FitEncoder out;
    out.define(0, 20,
               {Field{253, uint32, 4}, Field{0, sint32, 4}, Field{1, sint32, 4},
                Field{5, uint32, 4}, Field{2, uint16, 2}, Field{6, uint16, 2}, Field{3, uint8, 1},
                Field{4, uint8, 1}});
    out.define(1, 19,
               {Field{253, uint32, 4}, Field{2, uint32, 4}, Field{7, uint32, 4},
                Field{8, uint32, 4}, Field{9, uint32, 4}});
    out.define(2, 18,
               {Field{253, uint32, 4}, Field{2, uint32, 4}, Field{7, uint32, 4},
                Field{8, uint32, 4}, Field{9, uint32, 4}, Field{5, 0x00, 1}});
    int lapStart = 0;
    double lapDistance = 0;
    for (int second = 0; second <= seconds; ++second) {
        const Sample s = sampleAt(second);
        out.write(0,
                  {kStart + static_cast<std::uint32_t>(second),
                   static_cast<std::uint64_t>(std::llround(s.latitude * semicircles)),
                   static_cast<std::uint64_t>(std::llround(s.longitude * semicircles)),
                   static_cast<std::uint64_t>(std::llround(s.distance * 100)),
                   static_cast<std::uint64_t>(std::llround((s.altitude + 500) * 5)),
                   static_cast<std::uint64_t>(std::llround(s.speed * 1000)),
                   static_cast<std::uint64_t>(s.heartRate), static_cast<std::uint64_t>(s.cadence)});
        if (s.distance - lapDistance >= 1000 || second == seconds) {
            const auto elapsed = static_cast<std::uint64_t>(second - lapStart) * 1000;
            out.write(1,
                      {kStart + static_cast<std::uint32_t>(second),
                       kStart + static_cast<std::uint32_t>(lapStart), elapsed, elapsed,
                       static_cast<std::uint64_t>(std::llround((s.distance - lapDistance) * 100))});
            lapStart = second;
            lapDistance = s.distance;
        }
    }
    const auto total = static_cast<std::uint64_t>(seconds) * 1000;
    out.write(2, {kStart + static_cast<std::uint32_t>(seconds), kStart, total, total,
                  static_cast<std::uint64_t>(std::llround(sampleAt(seconds).distance * 100)), 1});
    return out.file();
}

QByteArray generateGpxRun(int seconds)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<gpx version=\"1.1\" creator=\"bench\" "
                     "xmlns=\"http://www.topografix.com/GPX/1/1\" "
                     "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
                     " <trk>\n  <name>Morning Run</name>\n  <type>running</type>\n  <trkseg>\n";
    out.reserve(seconds * 230);
    const auto start = static_cast<qint64>(kUnixStart);
    for (int second = 0; second <= seconds; ++second) {
        const Sample s = sampleAt(second);
        const QByteArray time = QDateTime::fromSecsSinceEpoch(start + second, QTimeZone::utc())
                                    .toString(Qt::ISODate)
                                    .toLatin1();
        out += "   <trkpt lat=\"" + QByteArray::number(s.latitude, 'f', 7) + "\" lon=\"" +
               QByteArray::number(s.longitude, 'f', 7) + "\">\n    <ele>" +
               QByteArray::number(s.altitude, 'f', 1) + "</ele>\n    <time>" + time +
               "</time>\n    <extensions><gpxtpx:TrackPointExtension><gpxtpx:hr>" +
               QByteArray::number(s.heartRate) +
               "</gpxtpx:hr></gpxtpx:TrackPointExtension></extensions>\n   </trkpt>\n";
    }
    out += "  </trkseg>\n </trk>\n</gpx>\n";
    return out;
}

QByteArray generateTcxRun(int seconds)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<TrainingCenterDatabase "
                     "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\" "
                     "xmlns:ns3=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\">\n"
                     " <Activities>\n  <Activity Sport=\"Running\">\n";
    out.reserve(seconds * 420);
    const auto start = static_cast<qint64>(kUnixStart);
    const auto timeAt = [start](int second) {
        return QDateTime::fromSecsSinceEpoch(start + second, QTimeZone::utc())
            .toString(Qt::ISODate)
            .toLatin1();
    };
    out += "   <Id>" + timeAt(0) + "</Id>\n";
    int lapStart = 0;
    double lapDistance = 0;
    QByteArray points;
    for (int second = 0; second <= seconds; ++second) {
        const Sample s = sampleAt(second);
        points +=
            "      <Trackpoint>\n       <Time>" + timeAt(second) +
            "</Time>\n       <Position>\n        <LatitudeDegrees>" +
            QByteArray::number(s.latitude, 'f', 7) +
            "</LatitudeDegrees>\n        <LongitudeDegrees>" +
            QByteArray::number(s.longitude, 'f', 7) +
            "</LongitudeDegrees>\n       </Position>\n       <AltitudeMeters>" +
            QByteArray::number(s.altitude, 'f', 1) + "</AltitudeMeters>\n       <DistanceMeters>" +
            QByteArray::number(s.distance, 'f', 2) +
            "</DistanceMeters>\n       <HeartRateBpm><Value>" + QByteArray::number(s.heartRate) +
            "</Value></HeartRateBpm>\n       <Extensions><ns3:TPX><ns3:Speed>" +
            QByteArray::number(s.speed, 'f', 3) +
            "</ns3:Speed></ns3:TPX></Extensions>\n      </Trackpoint>\n";
        if (s.distance - lapDistance >= 1000 || second == seconds) {
            out += "   <Lap StartTime=\"" + timeAt(lapStart) + "\">\n    <TotalTimeSeconds>" +
                   QByteArray::number(second - lapStart) +
                   "</TotalTimeSeconds>\n    <DistanceMeters>" +
                   QByteArray::number(s.distance - lapDistance, 'f', 2) +
                   "</DistanceMeters>\n    <Intensity>Active</Intensity>\n"
                   "    <TriggerMethod>Distance</TriggerMethod>\n    <Track>\n" +
                   points + "    </Track>\n   </Lap>\n";
            points.clear();
            lapStart = second;
            lapDistance = s.distance;
        }
    }
    out += "  </Activity>\n </Activities>\n</TrainingCenterDatabase>\n";
    return out;
}

} // namespace torvanu::bench
