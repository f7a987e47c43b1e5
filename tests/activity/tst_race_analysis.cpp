#include "activity/race_analysis.h"

#include <QTest>

#include <cmath>
#include <limits>

using torvanu::TrackPoint;
using Track = std::vector<TrackPoint>;

Q_DECLARE_METATYPE(Track)

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestRaceAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
};

void TestRaceAnalysis::splits_data()
{
    QTest::addColumn<Track>("track");
    QTest::addColumn<QList<double>>("splits");
    QTest::addColumn<double>("restSeconds");
    QTest::addColumn<double>("halfSplit"); // per cent, kNone for none
    QTest::addColumn<int>("fastest");      // 0 for none
    QTest::addColumn<int>("slowest");

    QTest::newRow("even pace, a point every 500 m")
        << Track{{0, 0}, {150, 500}, {300, 1000}, {450, 1500}, {600, 2000}, {900, 3000}}
        << QList<double>{300, 300, 300} << 0.0 << 0.0 << 1 << 1;
    QTest::newRow("whole kilometres interpolated between sparse points")
        << Track{{0, 0}, {700, 2100}} << QList<double>{1000 / 3.0, 1000 / 3.0} << 100 / 3.0 << 0.0
        << 1 << 1;
    QTest::newRow("negative split")
        << Track{{0, 0}, {300, 1000}, {600, 2000}, {880, 3000}, {1160, 4000}}
        << QList<double>{300, 300, 280, 280} << 0.0 << (560.0 - 600.0) / 600.0 * 100 << 3 << 1;
    QTest::newRow("first point a moment after the start")
        << Track{{10, 30}, {310, 1030}, {610, 2030}} << QList<double>{301, 300} << 30 * 0.3
        << (304.5 - 305.5) / 305.5 * 100 << 2 << 1;
    QTest::newRow("standing at the kilometre mark counts in the next kilometre")
        << Track{{0, 0}, {300, 1000}, {360, 1000}, {660, 2000}} << QList<double>{300, 360} << 0.0
        << (360 - 300) / 300.0 * 100 << 1 << 2;
    QTest::newRow("under a kilometre")
        << Track{{0, 0}, {200, 800}} << QList<double>{} << 200.0 << 0.0 << 0 << 0;
    QTest::newRow("no distance at all")
        << Track{{0, 0}, {200, 0}} << QList<double>{} << 200.0 << kNone << 0 << 0;
    QTest::newRow("a distance past any run: no splits, and no endless list")
        << Track{{0, 0}, {600, 5e117}} << QList<double>{} << 600.0 << 0.0 << 0 << 0;
    QTest::newRow("no track") << Track{} << QList<double>{} << 0.0 << kNone << 0 << 0;
}

void TestRaceAnalysis::splits()
{
    QFETCH(Track, track);
    QFETCH(QList<double>, splits);
    QFETCH(double, restSeconds);
    QFETCH(double, halfSplit);
    QFETCH(int, fastest);
    QFETCH(int, slowest);

    const torvanu::RaceAnalysis analysis = torvanu::analyseRace(track);
    QCOMPARE(analysis.splits.size(), static_cast<std::size_t>(splits.size()));
    double sum = 0;
    for (std::size_t i = 0; i < analysis.splits.size(); ++i) {
        QCOMPARE(analysis.splits[i].km, static_cast<int>(i + 1));
        QCOMPARE(analysis.splits[i].seconds, splits[static_cast<qsizetype>(i)]);
        sum += analysis.splits[i].seconds;
        QCOMPARE(analysis.splits[i].time, sum);
    }
    QCOMPARE(analysis.restSeconds, restSeconds);
    // The splits add up to the finishing time.
    if (!track.empty())
        QCOMPARE(sum + analysis.restSeconds, track.back().time);
    if (std::isnan(halfSplit)) {
        QVERIFY(!analysis.halfSplitPercent);
    } else {
        QVERIFY(analysis.halfSplitPercent);
        QVERIFY2(std::abs(*analysis.halfSplitPercent - halfSplit) < 1e-9,
                 qPrintable(QString::number(*analysis.halfSplitPercent)));
    }
    QCOMPARE(analysis.fastestKm.value_or(0), fastest);
    QCOMPARE(analysis.slowestKm.value_or(0), slowest);
}

QTEST_APPLESS_MAIN(TestRaceAnalysis)
#include "tst_race_analysis.moc"
