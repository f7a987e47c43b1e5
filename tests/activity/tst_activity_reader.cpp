#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "activity_sample.h"
#include "fit_encoder.h"
#include "hostile_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using torvanu::ActivityError;
using torvanu::ActivityFormat;

Q_DECLARE_METATYPE(ActivityError::Kind)

namespace {

const QByteArray kGpx = "<?xml version=\"1.0\"?><gpx xmlns=\"http://www.topografix.com/GPX/1/1\">"
                        "<trk><trkseg><trkpt lat=\"0\" lon=\"0\"><time>2024-11-08T09:00:00Z</time>"
                        "</trkpt></trkseg></trk></gpx>";
const QByteArray kTcx = "<TrainingCenterDatabase><Activities><Activity Sport=\"Running\">"
                        "<Id>2024-11-08T09:00:00Z</Id></Activity></Activities>"
                        "</TrainingCenterDatabase>";

// What the path names on disk when the reader opens it.
enum class Made
{
    Nothing,
    File,
    Pipe,
    Folder,
};

QByteArray fit()
{
    torvanu::test::FitActivityContent run;
    run.start = 1'100'000'000;
    run.records = {{run.start, 0}, {run.start + 60, 25'000}};
    return torvanu::test::encodeFitActivity(run, {});
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// NaN where a point has no sample, on both sides.
bool sameSamples(const std::vector<float>& read, const QList<float>& expected)
{
    if (read.size() != static_cast<std::size_t>(expected.size()))
        return false;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const float e = expected[static_cast<qsizetype>(i)];
        if (std::isnan(e) ? !std::isnan(read[i]) : std::abs(read[i] - e) > 1e-3F)
            return false;
    }
    return true;
}

QByteArray gpxPoint(int second, const QByteArray& inside)
{
    return "<trkpt lat=\"35." + QByteArray::number(second) +
           "\" lon=\"139.7\"><time>2024-11-08T09:00:" + QByteArray::number(10 + second) +
           "Z</time>" + inside + "</trkpt>";
}

QByteArray tcxPoint(int second, const QByteArray& inside)
{
    return "<Trackpoint><Time>2024-11-08T09:00:" + QByteArray::number(10 + second) +
           "Z</Time><DistanceMeters>" + QByteArray::number(second * 3) + "</DistanceMeters>" +
           inside + "</Trackpoint>";
}

} // namespace

Q_DECLARE_METATYPE(Made)
Q_DECLARE_METATYPE(torvanu::bench::HostileShape)

class TestActivityReader : public QObject
{
    Q_OBJECT

private slots:
    void toldApartByContent_data();
    void toldApartByContent();
    void files_data();
    void files();
    void atTheLimitIsRead();
    void hostile_data();
    void hostile();
    void compressed_data();
    void compressed();
    void channels_data();
    void channels();
};

void TestActivityReader::toldApartByContent_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format"); // -1: none of them

    QTest::newRow("FIT") << fit() << static_cast<int>(ActivityFormat::Fit);
    QTest::newRow("GPX after a byte-order mark")
        << "\xEF\xBB\xBF" + kGpx << static_cast<int>(ActivityFormat::Gpx);
    QTest::newRow("TCX after blank lines, without a declaration")
        << "\n\n" + kTcx << static_cast<int>(ActivityFormat::Tcx);
    QTest::newRow("GPX in UTF-16")
        << QByteArray("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char*>(u"<gpx><trk/></gpx>"), 34)
        << static_cast<int>(ActivityFormat::Gpx);
    QTest::newRow("KML") << QByteArray("<kml><Document/></kml>") << -1;
    QTest::newRow("text") << QByteArray("time,distance\n0,0\n") << -1;
    QTest::newRow("FIT signature one byte late") << "\x0c" + fit() << -1;
}

void TestActivityReader::toldApartByContent()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);

    const auto detected = torvanu::detectActivityFormat(bytes);
    QCOMPARE(detected ? static_cast<int>(*detected) : -1, format);
}

void TestActivityReader::files_data()
{
    QTest::addColumn<Made>("made");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("size"); // a larger file, of zeros, when not 0
    QTest::addColumn<int>("error");   // an ActivityError::Kind, or -1 for none
    using Kind = ActivityError::Kind;

    QTest::newRow("GPX named .fit") << Made::File << kGpx << qint64(0) << -1;
    QTest::newRow("FIT named .fit") << Made::File << fit() << qint64(0) << -1;
    QTest::newRow("missing") << Made::Nothing << QByteArray() << qint64(0)
                             << static_cast<int>(Kind::Unreadable);
    QTest::newRow("empty") << Made::File << QByteArray() << qint64(0)
                           << static_cast<int>(Kind::Empty);
    QTest::newRow("a byte over 64 MiB") << Made::File << fit() << torvanu::kMaxActivityFileBytes + 1
                                        << static_cast<int>(Kind::TooLarge);
    // Opening a pipe waits for a writer that may never come, with the window frozen.
    QTest::newRow("a named pipe nothing writes to")
        << Made::Pipe << QByteArray() << qint64(0) << static_cast<int>(Kind::Unreadable);
    QTest::newRow("a folder") << Made::Folder << QByteArray() << qint64(0)
                              << static_cast<int>(Kind::Unreadable);
}

void TestActivityReader::files()
{
    QFETCH(Made, made);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, size);
    QFETCH(int, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"race.fit"_s);
    if (made == Made::File) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        // Sparse: the test writes 64 MiB without using them.
        if (size > 0)
            QVERIFY(file.resize(size));
    } else if (made == Made::Pipe) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (made == Made::Folder) {
        QVERIFY(QDir(dir.path()).mkdir(u"race.fit"_s));
    }
    const auto result = torvanu::readActivityFile(path);
    QCOMPARE(result.error ? static_cast<int>(result.error->kind) : -1, error);
    QCOMPARE(result.activities.isEmpty(), error >= 0);
}

void TestActivityReader::atTheLimitIsRead()
{
    QByteArray bytes = kGpx;
    bytes.append(QByteArray(torvanu::kMaxActivityFileBytes - bytes.size(), ' '));
    const auto result = torvanu::readActivity(bytes);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
}

// Each crafted shape that once took the program down, made small: read, or refused with a
// message that names the limit. The benchmarks time the same shapes at full size.
void TestActivityReader::hostile_data()
{
    QTest::addColumn<torvanu::bench::HostileShape>("shape");
    QTest::addColumn<int>("activities");  // when read
    QTest::addColumn<QString>("message"); // when refused
    using Shape = torvanu::bench::HostileShape;

    QTest::newRow("FIT: empty sessions would share 2.1 M records")
        << Shape::FitEmptySessions << 0 << u"FITファイルの記録が多すぎます（2000000件まで）"_s;
    QTest::newRow("FIT: 10,001 one-byte sessions")
        << Shape::FitOneByteSessions << 0
        << u"FITファイルのアクティビティが多すぎます（10000件まで）"_s;
    QTest::newRow("FIT: 2 M and one laps")
        << Shape::FitLaps << 0 << u"FITファイルの記録が多すぎます（2000000件まで）"_s;
    QTest::newRow("GPX: an internal entity is never expanded")
        << Shape::GpxEntity << 1 << QString();
    QTest::newRow("GPX: 2,000 attributes on a track") << Shape::GpxAttributes << 1 << QString();
    QTest::newRow("TCX: 2,000 attributes on an activity") << Shape::TcxAttributes << 1 << QString();
    QTest::newRow("GPX: 65 levels of elements")
        << Shape::GpxNested << 0 << u"GPXファイルの要素の入れ子が深すぎます（64段まで）"_s;
    QTest::newRow("GPX: 1,000 empty elements beside a track") << Shape::GpxWide << 1 << QString();
    QTest::newRow("GPX: 10,001 one-point tracks")
        << Shape::GpxTracks << 0 << u"GPXファイルのアクティビティが多すぎます（10000件まで）"_s;
    QTest::newRow("TCX: 10,001 activities")
        << Shape::TcxActivities << 0 << u"TCXファイルのアクティビティが多すぎます（10000件まで）"_s;
    QTest::newRow("gzip: 65 KB inflating past 64 MiB")
        << Shape::GzipBomb << 0 << u"展開したファイルが大きすぎます（64 MiBまで）"_s;
}

void TestActivityReader::hostile()
{
    QFETCH(torvanu::bench::HostileShape, shape);
    QFETCH(int, activities);
    QFETCH(QString, message);

    const auto result =
        torvanu::readActivity(hostileFile(shape, torvanu::bench::HostileSize::Small));
    QCOMPARE(result.error ? torvanu::activityErrorText(*result.error) : QString(), message);
    QCOMPARE(result.activities.size(), activities);
}

// Services export .fit.gz, .gpx.gz and .tcx.gz: read as the files they hold, whatever their
// names, concatenated members included.
void TestActivityReader::compressed_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("members");

    QTest::newRow(".fit.gz") << u"fit/garmin-fenix-5-walk.fit"_s << 1;
    QTest::newRow(".gpx.gz") << u"gpx/cerknicko-jezero.gpx"_s << 1;
    QTest::newRow(".tcx.gz") << u"tcx/test.tcx"_s << 1;
    QTest::newRow(".tcx.gz of two members") << u"tcx/test.tcx"_s << 2;
}

void TestActivityReader::compressed()
{
    QFETCH(QString, sample);
    QFETCH(int, members);

    const QByteArray plain = torvanu::test::activitySample(sample);
    QByteArray packed;
    const qsizetype half = plain.size() / members;
    for (int i = 0; i < members; ++i)
        packed += torvanu::bench::gzipped(plain.mid(i * half, i + 1 < members ? half : -1));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QFileInfo(sample).fileName() + u".gz"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(packed), packed.size());
    file.close();

    const auto expected = torvanu::readActivity(plain);
    const auto result = torvanu::readActivityFile(path);
    QVERIFY(!expected.error);
    QVERIFY(!result.error);
    QCOMPARE(result.format, expected.format);
    QCOMPARE(result.activities.size(), expected.activities.size());
    for (qsizetype i = 0; i < result.activities.size(); ++i) {
        QCOMPARE(result.activities[i].distance, expected.activities[i].distance);
        QCOMPARE(result.activities[i].elapsed, expected.activities[i].elapsed);
        QCOMPARE(result.activities[i].track.size(), expected.activities[i].track.size());
    }
    // Cut short, the same file is damaged, not read in part.
    const auto cut = torvanu::readActivity(packed.chopped(16));
    QVERIFY(cut.error);
    QCOMPARE(cut.error->kind, ActivityError::Kind::GzipDamaged);
}

void TestActivityReader::channels_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<float>>("altitude");
    QTest::addColumn<QList<float>>("heartRate");
    QTest::addColumn<QList<float>>("cadence"); // steps per minute: twice what the file says
    QTest::addColumn<int>("positions");        // points with a position

    const QByteArray gpxHead =
        "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" "
        "xmlns:tp=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">"
        "<trk><trkseg>";
    const QByteArray gpxTail = "</trkseg></trk></gpx>";
    QTest::newRow("GPX: elevation, and the extension under a prefix of its own")
        << gpxHead + gpxPoint(0, "<ele>12.5</ele>") +
               gpxPoint(1, "<ele>13</ele><extensions><tp:TrackPointExtension><tp:hr>141</tp:hr>"
                           "<tp:cad>88</tp:cad></tp:TrackPointExtension></extensions>") +
               gpxPoint(2, "<extensions><tp:TrackPointExtension><tp:hr>0</tp:hr>"
                           "</tp:TrackPointExtension></extensions>") +
               gpxTail
        << QList<float>{12.5F, 13, kNaN} << QList<float>{kNaN, 141, kNaN}
        << QList<float>{kNaN, 176, kNaN} << 3;
    QTest::newRow("GPX without channels: no memory for any")
        << gpxHead + gpxPoint(0, {}) + gpxPoint(1, {}) + gpxTail << QList<float>{} << QList<float>{}
        << QList<float>{} << 2;

    const QByteArray tcxHead =
        "<TrainingCenterDatabase xmlns:x=\"http://www.garmin.com/xmlschemas/ActivityExtension/v2\">"
        "<Activities><Activity Sport=\"Running\"><Id>2024-11-08T09:00:10Z</Id><Lap><Track>";
    const QByteArray tcxTail = "</Track></Lap></Activity></Activities></TrainingCenterDatabase>";
    QTest::newRow("TCX: altitude, heart rate, running cadence, a point without a fix")
        << tcxHead +
               tcxPoint(0, "<Position><LatitudeDegrees>35.1</LatitudeDegrees><LongitudeDegrees>"
                           "139.7</LongitudeDegrees></Position><AltitudeMeters>40.2"
                           "</AltitudeMeters><HeartRateBpm><Value>150</Value></HeartRateBpm>") +
               tcxPoint(1, "<AltitudeMeters>41</AltitudeMeters><Extensions><x:TPX><x:RunCadence>"
                           "91</x:RunCadence></x:TPX></Extensions>") +
               tcxPoint(2, "<HeartRateBpm><Value>152</Value></HeartRateBpm><Cadence>90</Cadence>") +
               tcxTail
        << QList<float>{40.2F, 41, kNaN} << QList<float>{150, kNaN, 152}
        << QList<float>{kNaN, 182, 180} << 1;
}

// Each channel is empty or as long as the track, with NaN where a point says nothing.
void TestActivityReader::channels()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<float>, altitude);
    QFETCH(QList<float>, heartRate);
    QFETCH(QList<float>, cadence);
    QFETCH(int, positions);

    const torvanu::ActivityReadResult result = torvanu::readActivity(bytes);
    QVERIFY(!result.error);
    const torvanu::Activity& activity = result.activities.front();
    const torvanu::TrackChannels& channels = activity.channels;
    QVERIFY(torvanu::test::channelsFitTrack(activity));
    QVERIFY(sameSamples(channels.altitude, altitude));
    QVERIFY(sameSamples(channels.heartRate, heartRate));
    QVERIFY(sameSamples(channels.cadence, cadence));
    QCOMPARE(channels.altitude.capacity() == 0, altitude.isEmpty());
    QCOMPARE(std::count_if(channels.position.begin(), channels.position.end(),
                           [](const torvanu::GeoPoint& p) { return !std::isnan(p.latitude); }),
             positions);
}

QTEST_APPLESS_MAIN(TestActivityReader)
#include "tst_activity_reader.moc"
