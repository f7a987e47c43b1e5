#include "activity/tcx_reader.h"
#include "activity_sample.h"

#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::Activity;
using torvanu::ActivityError;
using torvanu::Sport;

Q_DECLARE_METATYPE(ActivityError::Kind)

namespace {

QByteArray tcx(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TrainingCenterDatabase "
           "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n" +
           body + "\n</TrainingCenterDatabase>\n";
}

QByteArray trackpoint(const QByteArray& time, const QByteArray& distance)
{
    return "<Trackpoint><Time>" + time + "</Time><DistanceMeters>" + distance +
           "</DistanceMeters><Extensions><TPX><Speed>3.1</Speed></TPX></Extensions>"
           "</Trackpoint>";
}

// Two laps of a kilometre with a pause of 30 s between them (the watch stopped).
QByteArray twoLaps(const QByteArray& sport)
{
    return "<Activity Sport=\"" + sport + "\"><Id>2024-11-08T09:00:00Z</Id>" +
           "<Lap StartTime=\"2024-11-08T09:00:00Z\"><TotalTimeSeconds>300.5</TotalTimeSeconds>"
           "<DistanceMeters>1000</DistanceMeters><Track>" +
           trackpoint("2024-11-08T09:00:00Z", "0") + trackpoint("2024-11-08T09:05:00.5Z", "1000") +
           "</Track></Lap><Lap StartTime=\"2024-11-08T09:05:30.5Z\"><TotalTimeSeconds>290"
           "</TotalTimeSeconds><DistanceMeters>1000.5</DistanceMeters><Track>" +
           trackpoint("2024-11-08T09:05:30.5Z", "1000") +
           trackpoint("2024-11-08T09:10:20.5Z", "2000.5") + "</Track></Lap></Activity>";
}

} // namespace

class TestTcxReader : public QObject
{
    Q_OBJECT

private slots:
    void realFile();
    void activities_data();
    void activities();
    void refused_data();
    void refused();
};

void TestTcxReader::realFile()
{
    const auto result = torvanu::readTcx(torvanu::test::activitySample(u"tcx/test.tcx"_s));
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), 1);
    const Activity& run = result.activities.front();
    QCOMPARE(run.sport, Sport::Running);
    QCOMPARE(run.start.utc, QDateTime::fromString(u"2012-12-26T21:29:53Z"_s, Qt::ISODate));
    QCOMPARE(run.laps.size(), 3);
    QCOMPARE(run.laps.front().timer, 608.47);
    QCOMPARE(run.laps.front().distance, 1609.34399414);
    // The first lap ends where the second begins: 21:40:02 is 609 s after the start.
    QCOMPARE(run.laps.front().elapsed, 609.0);
    QVERIFY(run.elapsed >= run.timer);
    QCOMPARE(static_cast<int>(run.track.size()), 384);
}

void TestTcxReader::activities_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<Sport>>("sports");
    QTest::addColumn<bool>("timed");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("timer");
    QTest::addColumn<double>("distance");

    QTest::newRow("laps with a pause between them")
        << tcx("<Activities>" + twoLaps("Running") + "</Activities>") << QList{Sport::Running}
        << true << 620.5 << 590.5 << 2000.5;
    QTest::newRow("multisport session: one activity per sport")
        << tcx("<Activities><MultiSportSession><Id>2024-11-08T09:00:00Z</Id><FirstSport>" +
               twoLaps("Biking") +
               "</FirstSport><NextSport><Transition><TotalTimeSeconds>60"
               "</TotalTimeSeconds></Transition>" +
               twoLaps("Running") + "</NextSport></MultiSportSession></Activities>")
        << QList{Sport::Cycling, Sport::Running} << true << 620.5 << 590.5 << 2000.5;
    QTest::newRow("laps without a track")
        << tcx("<Activities><Activity Sport=\"Other\"><Id>2024-11-08T09:00:00Z</Id>"
               "<Lap StartTime=\"2024-11-08T09:00:00Z\"><TotalTimeSeconds>3600"
               "</TotalTimeSeconds><DistanceMeters>10000</DistanceMeters></Lap>"
               "</Activity></Activities>")
        << QList{Sport::Other} << true << 3600.0 << 3600.0 << 10000.0;
    QTest::newRow("a course is a plan: distance only")
        << tcx("<Courses><Course><Name>Plan</Name><Lap><TotalTimeSeconds>3000</TotalTimeSeconds>"
               "<DistanceMeters>10000</DistanceMeters></Lap><Track>" +
               trackpoint("2024-11-08T09:00:00Z", "0") +
               trackpoint("2024-11-08T09:50:00Z", "10000") + "</Track></Course></Courses>")
        << QList{Sport::Unknown} << false << 0.0 << 0.0 << 10000.0;
}

void TestTcxReader::activities()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<Sport>, sports);
    QFETCH(bool, timed);
    QFETCH(double, elapsed);
    QFETCH(double, timer);
    QFETCH(double, distance);

    const auto result = torvanu::readTcx(file);
    QVERIFY(!result.error);
    QCOMPARE(result.activities.size(), sports.size());
    for (qsizetype i = 0; i < sports.size(); ++i) {
        const Activity& activity = result.activities[i];
        QCOMPARE(activity.sport, sports[i]);
        QCOMPARE(activity.timed, timed);
        QCOMPARE(activity.elapsed, elapsed);
        QCOMPARE(activity.timer, timer);
        QCOMPARE(activity.distance, distance);
    }
}

void TestTcxReader::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ActivityError::Kind>("kind");
    using Kind = ActivityError::Kind;

    const QByteArray whole = tcx("<Activities>" + twoLaps("Running") + "</Activities>");
    QTest::newRow("cut in the middle") << whole.chopped(40) << Kind::XmlDamaged;
    QTest::newRow("no activity") << tcx("<Activities/>") << Kind::NoActivity;
    QTest::newRow("a GPX file") << QByteArray("<gpx><trk/></gpx>") << Kind::Foreign;
    QByteArray deep = "<TrainingCenterDatabase>";
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    QTest::newRow("nested past any sense, and cut") << deep << Kind::XmlDamaged;
}

void TestTcxReader::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(ActivityError::Kind, kind);

    const auto result = torvanu::readTcx(file);
    QVERIFY(result.error);
    QVERIFY(result.activities.isEmpty());
    QCOMPARE(result.error->kind, kind);
}

QTEST_APPLESS_MAIN(TestTcxReader)
#include "tst_tcx_reader.moc"
