#include "activity/activity_reader.h"
#include "activity/fit_reader.h"
#include "activity_sample.h"
#include "fit_encoder.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using torvanu::Activity;
using torvanu::ActivityError;
using torvanu::Sport;
using torvanu::test::encodeFitActivities;
using torvanu::test::encodeFitActivity;
using torvanu::test::FitActivityContent;
using torvanu::test::FitEncoder;
using torvanu::test::FitWriteOptions;

Q_DECLARE_METATYPE(FitActivityContent)
Q_DECLARE_METATYPE(FitWriteOptions)
Q_DECLARE_METATYPE(ActivityError::Kind)

namespace {

constexpr std::uint32_t kRaceStart = 1'100'000'000; // 2024-11-08T09:46:40Z in FIT time

QByteArray sample(const QString& name)
{
    return torvanu::test::activitySample(u"fit/"_s + name);
}

// A 3 km run with a record every 7 s (so that compressed times roll over their five bits),
// a pause in the second lap, and distances that are no round numbers.
FitActivityContent threeKm(std::uint32_t start)
{
    FitActivityContent run;
    run.start = start;
    run.sport = 1;
    for (std::uint32_t t = 0; t <= 903; t += 7)
        run.records.push_back({start + t, t * 332 + t % 5});
    run.laps = {{start, 300'500, 300'500, 100'012},
                {start + 301, 340'250, 301'000, 99'990},
                {start + 642, 261'125, 261'125, 100'601}};
    run.elapsedMs = 903'125;
    run.timerMs = 862'625;
    run.distanceCm = 300'603;
    return run;
}

void compareActivity(const Activity& read, const FitActivityContent& written)
{
    QCOMPARE(read.start.utc.toSecsSinceEpoch(), static_cast<qint64>(written.start) + 631'065'600);
    QCOMPARE(read.elapsed, written.elapsedMs / 1000.0);
    QCOMPARE(read.timer, written.timerMs / 1000.0);
    QCOMPARE(read.distance, written.distanceCm / 100.0);
    QCOMPARE(read.laps.size(), static_cast<qsizetype>(written.laps.size()));
    for (std::size_t i = 0; i < written.laps.size(); ++i) {
        const auto& lap = read.laps[static_cast<qsizetype>(i)];
        QCOMPARE(lap.start, static_cast<double>(written.laps[i].start - written.start));
        QCOMPARE(lap.elapsed, written.laps[i].elapsedMs / 1000.0);
        QCOMPARE(lap.timer, written.laps[i].timerMs / 1000.0);
        QCOMPARE(lap.distance, written.laps[i].distanceCm / 100.0);
    }
    QCOMPARE(read.track.size(), written.records.size());
    for (std::size_t i = 0; i < written.records.size(); ++i) {
        QCOMPARE(read.track[i].time, static_cast<double>(written.records[i].time - written.start));
        QCOMPARE(read.track[i].distance, written.records[i].distanceCm / 100.0);
    }
}

QByteArray withFileChecksum(QByteArray file)
{
    file.chop(2);
    const std::uint16_t crc = torvanu::test::fitChecksum(file);
    file.append(static_cast<char>(crc & 0xFF));
    file.append(static_cast<char>(crc >> 8));
    return file;
}

} // namespace

class TestFitReader : public QObject
{
    Q_OBJECT

private slots:
    void samples_data();
    void samples();
    void recordsMatchTheirList_data();
    void recordsMatchTheirList();
    void roundTrip_data();
    void roundTrip();
    void severalActivities_data();
    void severalActivities();
    void damaged_data();
    void damaged();
    void everyTruncationFails();
};

void TestFitReader::samples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Sport>("sport");
    QTest::addColumn<QString>("start"); // UTC, or empty for a time since the watch started
    QTest::addColumn<double>("sinceDeviceStart");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("timer");
    QTest::addColumn<double>("distance");
    QTest::addColumn<int>("laps");
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<double>>("climb"); // the session's total ascent and descent, if any

    QTest::newRow("long ride with pauses")
        << u"garmin-edge-500-activity.fit"_s << Sport::Cycling << u"2011-09-25T13:00:21Z"_s << 0.0
        << 12691.28 << 10641.06 << 92622.34 << 9 << 10686 << QList<double>{541, 541};
    QTest::newRow("compressed headers, start counted from the watch's own start")
        << u"compressed-speed-distance.fit"_s << Sport::Running << QString() << 17217864.0
        << 3883.273 << 3772.75 << 10248.67 << 11 << 755 << QList<double>{};
    QTest::newRow("developer fields skipped")
        << u"developer-types-sample.fit"_s << Sport::Running << u"2017-01-17T17:06:47Z"_s << 0.0
        << 3424.0 << 3424.0 << 6753.99 << 1 << 3424 << QList<double>{};
    QTest::newRow("tiny walk") << u"garmin-fenix-5-walk.fit"_s << Sport::Walking
                               << u"2017-06-11T14:32:51Z"_s << 0.0 << 45.379 << 45.379 << 67.85 << 1
                               << 17 << QList<double>{1, 0};
}

void TestFitReader::samples()
{
    QFETCH(QString, file);
    QFETCH(Sport, sport);
    QFETCH(QString, start);
    QFETCH(double, sinceDeviceStart);
    QFETCH(double, elapsed);
    QFETCH(double, timer);
    QFETCH(double, distance);
    QFETCH(int, laps);
    QFETCH(int, records);
    QFETCH(QList<double>, climb);

    const auto result = torvanu::readActivity(sample(file));
    QVERIFY(!result.error);
    QCOMPARE(result.format, torvanu::ActivityFormat::Fit);
    QCOMPARE(result.activities.size(), 1);
    const Activity& activity = result.activities.front();
    QCOMPARE(activity.sport, sport);
    if (start.isEmpty()) {
        QVERIFY(!activity.start.utc.isValid());
        QCOMPARE(activity.start.sinceDeviceStart, sinceDeviceStart);
    } else {
        QCOMPARE(activity.start.utc, QDateTime::fromString(start, Qt::ISODate));
        QVERIFY(!activity.start.sinceDeviceStart);
    }
    QCOMPARE(activity.elapsed, elapsed);
    QCOMPARE(activity.timer, timer);
    QCOMPARE(activity.distance, distance);
    QCOMPARE(activity.laps.size(), laps);
    QCOMPARE(static_cast<int>(activity.track.size()), records);
    QCOMPARE(activity.fileAscent.has_value(), !climb.isEmpty());
    if (!climb.isEmpty()) {
        QCOMPARE(*activity.fileAscent, climb[0]);
        QCOMPARE(*activity.fileDescent, climb[1]);
    }
    QVERIFY(torvanu::test::channelsFitTrack(activity));
}

void TestFitReader::recordsMatchTheirList_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("timed"); // the list's first column: the record's FIT time
    QTest::addColumn<int>("distanceColumn");
    // Columns of heart rate, cadence (per leg), altitude, latitude and longitude (semicircles)
    // in that order; -1 where the list has none.
    QTest::addColumn<QList<int>>("channelColumns");

    QTest::newRow("compressed times and rolling twelve-bit distances")
        << u"compressed-speed-distance"_s << true << 3 << QList<int>{1, 4, -1, -1, -1};
    QTest::newRow("plain records")
        << u"garmin-fenix-5-walk"_s << false << 4 << QList<int>{1, 2, 7, 5, 6};
}

// The lists beside two files give their records' distances, read by another decoder.
void TestFitReader::recordsMatchTheirList()
{
    QFETCH(QString, file);
    QFETCH(bool, timed);
    QFETCH(int, distanceColumn);
    QFETCH(QList<int>, channelColumns);

    QFile list(QStringLiteral(TORVANU_ACTIVITY_DATA "/fit/") + file + u"-records.csv"_s);
    QVERIFY(list.open(QIODevice::ReadOnly));
    list.readLine();
    const auto result = torvanu::readFit(sample(file + u".fit"_s));
    QVERIFY(!result.error);
    const Activity& activity = result.activities.front();
    const double start = activity.start.sinceDeviceStart.value_or(0);
    std::size_t i = 0;
    while (!list.atEnd()) {
        const QList<QByteArray> cells = list.readLine().trimmed().split(',');
        if (timed) {
            const double time = cells[0].toDouble() - start;
            while (i < activity.track.size() && activity.track[i].time < time)
                ++i;
            QVERIFY2(i < activity.track.size(), cells[0].constData());
            QCOMPARE(activity.track[i].time, time);
        }
        QVERIFY(i < activity.track.size());
        QCOMPARE(activity.track[i].distance, cells[distanceColumn].toDouble());
        // The list's own decoder gives whole strides and altitudes rounded as it pleases; a
        // "null" is a record without the field.
        const auto listed = [&](int index, double scale) {
            const int column = channelColumns[index];
            bool number = false;
            const double value = column < 0 ? 0 : cells[column].toDouble(&number);
            return number ? value * scale : std::numeric_limits<double>::quiet_NaN();
        };
        const torvanu::TrackChannels& channels = activity.channels;
        const auto near = [](double read, double expected, double within) {
            return std::isnan(expected) ? std::isnan(read) : std::abs(read - expected) <= within;
        };
        const QByteArray at = cells[0];
        QVERIFY2(near(channels.heartRate[i], listed(0, 1), 0), at);
        QVERIFY2(near(channels.cadence[i], listed(1, 2), 1.99), at);
        if (channelColumns[2] >= 0)
            QVERIFY2(near(channels.altitude[i], listed(2, 1), 0.2), at);
        if (channelColumns[3] >= 0) {
            constexpr double degrees = 180.0 / 2'147'483'648.0;
            QVERIFY2(near(channels.position[i].latitude, listed(3, degrees), 1e-9), at);
            QVERIFY2(near(channels.position[i].longitude, listed(4, degrees), 1e-9), at);
        }
        ++i;
    }
    QCOMPARE(i, activity.track.size());
    QVERIFY(torvanu::test::channelsFitTrack(activity));
    QCOMPARE(activity.channels.altitude.empty(), channelColumns[2] < 0);
    QCOMPARE(activity.channels.position.empty(), channelColumns[3] < 0);
}

void TestFitReader::roundTrip_data()
{
    QTest::addColumn<FitActivityContent>("activity");
    QTest::addColumn<FitWriteOptions>("options");

    const FitActivityContent run = threeKm(kRaceStart);
    QTest::newRow("little-endian") << run << FitWriteOptions{};
    QTest::newRow("big-endian") << run << FitWriteOptions{true, false, false, 14};
    QTest::newRow("compressed timestamps") << run << FitWriteOptions{false, true, false, 14};
    QTest::newRow("compressed timestamps, big-endian")
        << run << FitWriteOptions{true, true, false, 14};
    QTest::newRow("developer fields") << run << FitWriteOptions{false, false, true, 14};
    QTest::newRow("developer fields in compressed records, big-endian")
        << run << FitWriteOptions{true, true, true, 14};
    QTest::newRow("12-byte header") << run << FitWriteOptions{false, false, false, 12};
}

void TestFitReader::roundTrip()
{
    QFETCH(FitActivityContent, activity);
    QFETCH(FitWriteOptions, options);

    const auto result = torvanu::readActivity(encodeFitActivity(activity, options));
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
    QCOMPARE(result.activities.front().sport, Sport::Running);
    compareActivity(result.activities.front(), activity);
}

void TestFitReader::severalActivities_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<Sport>>("sports");

    FitActivityContent ride = threeKm(kRaceStart);
    ride.sport = 2;
    const FitActivityContent run = threeKm(kRaceStart + 1000);
    QTest::newRow("two files one after the other, each its own byte order")
        << encodeFitActivity(ride, {}) + encodeFitActivity(run, {true, true, false, 12})
        << QList<Sport>{Sport::Cycling, Sport::Running};
    FitActivityContent transition = threeKm(kRaceStart + 1000);
    transition.sport = 3;
    QTest::newRow("multisport: a session per leg, the transition too")
        << encodeFitActivities({ride, transition, threeKm(kRaceStart + 2000)}, {})
        << QList<Sport>{Sport::Cycling, Sport::Transition, Sport::Running};
}

// Each activity keeps only its own laps and records.
void TestFitReader::severalActivities()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<Sport>, sports);

    const auto result = torvanu::readActivity(file);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), sports.size());
    for (qsizetype i = 0; i < sports.size(); ++i) {
        QCOMPARE(result.activities[i].sport, sports[i]);
        compareActivity(result.activities[i],
                        threeKm(kRaceStart + static_cast<std::uint32_t>(i) * 1000));
    }
}

void TestFitReader::damaged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ActivityError::Kind>("kind");
    using Kind = ActivityError::Kind;

    const QByteArray good = encodeFitActivity(threeKm(kRaceStart), {});
    QTest::newRow("real file ending inside a message")
        << sample(u"activity-unexpected-eof.fit"_s) << Kind::FitTruncated;
    QTest::newRow("real file followed by a damaged header")
        << sample(u"activity-settings-corruptheader.fit"_s) << Kind::FitHeader;
    QTest::newRow("file checksum missing") << good.chopped(2) << Kind::FitTruncated;
    QByteArray flipped = good;
    flipped[100] = static_cast<char>(flipped[100] ^ 0x01);
    QTest::newRow("one bit changed in a record") << flipped << Kind::FitCrc;
    QByteArray badHeaderCrc = good;
    badHeaderCrc[12] = static_cast<char>(badHeaderCrc[12] ^ 0x01);
    QTest::newRow("header checksum wrong") << badHeaderCrc << Kind::FitHeader;
    QByteArray shortHeader = good;
    shortHeader[0] = 11;
    QTest::newRow("header shorter than any") << shortHeader << Kind::FitHeader;
    QTest::newRow("trailing bytes that are no FIT file")
        << good + QByteArray(20, '\0') << Kind::FitHeader;
    QTest::newRow("half a second file") << good + good.left(30) << Kind::FitTruncated;

    FitEncoder undefined;
    undefined.writeRaw(QByteArray("\x03\x00\x00\x00\x00", 5));
    QTest::newRow("data message before its definition") << undefined.file() << Kind::FitDamaged;
    FitEncoder architecture;
    architecture.writeRaw(QByteArray("\x40\x00\x02\x14\x00\x00", 6));
    QTest::newRow("byte order neither little nor big") << architecture.file() << Kind::FitDamaged;
    FitEncoder overrun;
    overrun.define(0, 20, {{253, 0x86, 4}});
    overrun.writeRaw(QByteArray("\x00\x01\x02", 3));
    QTest::newRow("message running past the data") << overrun.file() << Kind::FitDamaged;
    // Every record five bytes: a compressed time and a distance.
    FitEncoder flood;
    flood.define(0, 20, {{253, 0x86, 4}});
    flood.write(0, {kRaceStart});
    flood.define(1, 20, {{5, 0x86, 4}});
    const QByteArray record("\xA0\x10\x00\x00\x00", 5);
    flood.writeRaw(record.repeated(static_cast<qsizetype>(torvanu::kMaxFitRecords)));
    QTest::newRow("more records than any activity has") << flood.file() << Kind::TooManyRecords;
    FitEncoder nothing;
    nothing.define(0, 0, {{0, 0x00, 1}});
    nothing.write(0, {4});
    QTest::newRow("file id alone: no activity") << nothing.file() << Kind::NoActivity;
    QByteArray lyingSize = encodeFitActivity(threeKm(kRaceStart), {false, false, false, 12});
    lyingSize[4] = static_cast<char>(lyingSize[4] + 1);
    QTest::newRow("data size one byte past the end")
        << withFileChecksum(lyingSize) << Kind::FitTruncated;
}

void TestFitReader::damaged()
{
    QFETCH(QByteArray, file);
    QFETCH(ActivityError::Kind, kind);

    const auto result = torvanu::readFit(file);
    QVERIFY(result.error);
    QCOMPARE(result.error->kind, kind);
    QVERIFY(result.activities.isEmpty());
}

// A file cut anywhere fills nothing: every prefix of a good file is refused.
void TestFitReader::everyTruncationFails()
{
    const QByteArray good = encodeFitActivity(threeKm(kRaceStart), {false, true, true, 14});
    for (qsizetype size = 1; size < good.size(); ++size) {
        const auto result = torvanu::readFit(good.left(size));
        QVERIFY2(result.error && result.activities.isEmpty(), qPrintable(QString::number(size)));
    }
}

QTEST_APPLESS_MAIN(TestFitReader)
#include "tst_fit_reader.moc"
