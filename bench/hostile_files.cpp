#include "hostile_files.h"

#include "fit_encoder.h"

#include <zlib.h>

namespace torvanu::bench {

namespace {

constexpr std::uint32_t kFitStart = 1'100'000'000;

QByteArray gpxAround(const QByteArray& body, const QByteArray& doctype = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + doctype +
           "<gpx version=\"1.1\" creator=\"hostile\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           body + "\n</gpx>\n";
}

QByteArray tcxAround(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TrainingCenterDatabase "
           "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n" +
           body + "\n</TrainingCenterDatabase>\n";
}

// One real track of two points, so that a reader that survives has something to find.
const QByteArray kTrack = "<trk><trkseg><trkpt lat=\"35.68\" lon=\"139.76\">"
                          "<time>2024-11-08T09:00:00Z</time></trkpt>"
                          "<trkpt lat=\"35.69\" lon=\"139.76\"><time>2024-11-08T09:05:00Z</time>"
                          "</trkpt></trkseg></trk>";

QByteArray fitEmptySessions(bool full)
{
    using Field = test::FitEncoder::Field;
    test::FitEncoder out;
    out.define(0, 20, {Field{253, 0x86, 4}});
    out.write(0, {kFitStart});
    // Records of one byte: a compressed time and no field; sessions of one byte: no field.
    out.define(0, 20, {});
    out.define(1, 18, {});
    const int sessions = full ? 1000 : 3;
    const qsizetype records = full ? 2'000'000 : 700'000;
    out.writeRaw(QByteArray(records, '\x80'));
    out.writeRaw(QByteArray(sessions, '\x01'));
    return out.file();
}

QByteArray fitOneByteSessions(bool full)
{
    test::FitEncoder out;
    out.define(1, 18, {});
    out.writeRaw(QByteArray(full ? 60'000'000 : 10'001, '\x01'));
    return out.file();
}

QByteArray fitLaps(bool full)
{
    test::FitEncoder out;
    if (full) {
        // Five bytes a lap, each with its start: 12 million of them.
        out.define(2, 19, {{2, 0x86, 4}});
        QByteArray lap("\x02\x00\x00\x00\x41", 5);
        out.writeRaw(lap.repeated(12'000'000));
    } else {
        out.define(2, 19, {});
        out.writeRaw(QByteArray(2'000'001, '\x02'));
    }
    return out.file();
}

QByteArray gpxEntity(bool full)
{
    const QByteArray doctype = "<!DOCTYPE gpx [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>\n";
    const QByteArray references = QByteArray("&e;").repeated(full ? 1'000'000 : 1000);
    return gpxAround("<metadata><desc>" + references + "</desc></metadata>" + kTrack, doctype);
}

QByteArray attributes(int count)
{
    QByteArray made;
    made.reserve(count * 12);
    for (int i = 0; i < count; ++i)
        made += " a" + QByteArray::number(i) + "=\"1\"";
    return made;
}

QByteArray gpxAttributes(bool full)
{
    return gpxAround("<trk" + attributes(full ? 200'000 : 2000) + ">" + kTrack.mid(5));
}

QByteArray tcxAttributes(bool full)
{
    return tcxAround("<Activities><Activity Sport=\"Running\"" + attributes(full ? 200'000 : 2000) +
                     "><Id>2024-11-08T09:00:00Z</Id><Lap StartTime=\"2024-11-08T09:00:00Z\">"
                     "<TotalTimeSeconds>60</TotalTimeSeconds><DistanceMeters>200"
                     "</DistanceMeters></Lap></Activity></Activities>");
}

QByteArray gpxNested(bool full)
{
    const qsizetype depth = full ? 8'500'000 : 65;
    return gpxAround(QByteArray("<a>").repeated(depth - 1) +
                     QByteArray("</a>").repeated(depth - 1));
}

QByteArray gpxWide(bool full)
{
    return gpxAround(QByteArray("<a/>").repeated(full ? 15'000'000 : 1000) + kTrack);
}

QByteArray gpxTracks(bool full)
{
    const QByteArray track = "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"><time>2024-11-08T09:00:00Z"
                             "</time></trkpt></trkseg></trk>\n";
    return gpxAround(track.repeated(full ? 670'000 : 10'001));
}

QByteArray tcxActivities(bool full)
{
    const QByteArray activity = "<Activity Sport=\"Running\"><Id>2024-11-08T09:00:00Z</Id>"
                                "</Activity>\n";
    return tcxAround("<Activities>" + activity.repeated(full ? 817'000 : 10'001) + "</Activities>");
}

QByteArray gpxPoints()
{
    const QByteArray point = "<trkpt lat=\"1\" lon=\"2\"/>";
    return gpxAround("<trk><trkseg>" + point.repeated(2'500'000) + "</trkseg></trk>");
}

// Members of a megabyte of zeros one after another: each a kilobyte, 65 of them inflating
// to a megabyte past the limit.
QByteArray gzipBomb()
{
    return gzipped(QByteArray(1024 * 1024, '\0')).repeated(65);
}

} // namespace

const std::vector<HostileCase>& hostileCases()
{
    static const std::vector<HostileCase> cases = {
        {HostileShape::FitEmptySessions, "FIT: 1,000 empty sessions and 2 M one-byte records",
         false},
        {HostileShape::FitOneByteSessions, "FIT: 60 M one-byte sessions", false},
        {HostileShape::FitLaps, "FIT: 12 M laps", false},
        {HostileShape::GpxEntity, "GPX: an entity of 4,000 characters referenced 1 M times", false},
        {HostileShape::GpxAttributes, "GPX: one element with 200 k attributes", false},
        {HostileShape::TcxAttributes, "TCX: one element with 200 k attributes", false},
        {HostileShape::GpxNested, "GPX: 8.5 M nested elements", false},
        {HostileShape::GpxWide, "GPX: 15 M empty elements side by side", false},
        {HostileShape::GpxTracks, "GPX: 670 k one-point tracks", false},
        {HostileShape::TcxActivities, "TCX: 817 k activities", false},
        {HostileShape::GpxPoints, "GPX: one track of 2.5 M points", true},
        {HostileShape::GzipBomb, "gzip: 65 KB inflating to 65 MiB", false},
    };
    return cases;
}

QByteArray gzipped(const QByteArray& bytes)
{
    QByteArray made(static_cast<qsizetype>(compressBound(static_cast<uLong>(bytes.size()))) + 64,
                    '\0');
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(made.data());
    stream.avail_out = static_cast<uInt>(made.size());
    const int status = deflate(&stream, Z_FINISH);
    made.truncate(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return status == Z_STREAM_END ? made : QByteArray();
}

QByteArray hostileFile(HostileShape shape, HostileSize size)
{
    const bool full = size == HostileSize::Full;
    switch (shape) {
    case HostileShape::FitEmptySessions:
        return fitEmptySessions(full);
    case HostileShape::FitOneByteSessions:
        return fitOneByteSessions(full);
    case HostileShape::FitLaps:
        return fitLaps(full);
    case HostileShape::GpxEntity:
        return gpxEntity(full);
    case HostileShape::GpxAttributes:
        return gpxAttributes(full);
    case HostileShape::TcxAttributes:
        return tcxAttributes(full);
    case HostileShape::GpxNested:
        return gpxNested(full);
    case HostileShape::GpxWide:
        return gpxWide(full);
    case HostileShape::GpxTracks:
        return gpxTracks(full);
    case HostileShape::TcxActivities:
        return tcxActivities(full);
    case HostileShape::GpxPoints:
        return gpxPoints();
    case HostileShape::GzipBomb:
        return gzipBomb();
    }
    return {};
}

} // namespace torvanu::bench
