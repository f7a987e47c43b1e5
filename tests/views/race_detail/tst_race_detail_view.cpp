#include "views/race_detail/race_detail_view.h"

#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;
using namespace torvanu;

using Track = std::vector<TrackPoint>;
Q_DECLARE_METATYPE(Track)

namespace {

// A point at every kilometre, each kilometre taking lapSeconds, then rest metres at the same
// pace and standing seconds after the last point.
Track steadyTrack(int kms, double lapSeconds, double restMetres = 0, double standing = 0)
{
    Track track{{0, 0}};
    for (int km = 1; km <= kms; ++km)
        track.push_back({km * lapSeconds, km * 1000.0});
    if (restMetres > 0)
        track.push_back(
            {track.back().time + lapSeconds * restMetres / 1000, kms * 1000 + restMetres});
    if (standing > 0)
        track.push_back({track.back().time + standing, track.back().distance});
    return track;
}

// "4:59" or "1:02:03" as seconds.
int seconds(const QString& text)
{
    int total = 0;
    for (const QString& part : text.split(u':'))
        total = total * 60 + part.toInt();
    return total;
}

} // namespace

class TestRaceDetailView : public QObject
{
    Q_OBJECT

private slots:
    void lapsAddUpToTheFinish_data();
    void lapsAddUpToTheFinish();
    void evenPace_data();
    void evenPace();
    void halfSplit_data();
    void halfSplit();
};

void TestRaceDetailView::lapsAddUpToTheFinish_data()
{
    QTest::addColumn<Track>("track");
    QTest::addColumn<QString>("finish");
    QTest::addColumn<int>("rows");

    // Rounded one by one, ten laps of 299.6 s would show 50:00 against a finish of 49:56.
    QTest::newRow("laps each a fraction above a whole second below")
        << steadyTrack(10, 299.6) << u"49:56"_s << 10;
    QTest::newRow("laps each a fraction below half a second above")
        << steadyTrack(10, 300.4) << u"50:04"_s << 10;
    QTest::newRow("a rest after the last whole km gets a row of its own")
        << steadyTrack(42, 333.3, 195) << u"3:54:24"_s << 43;
    QTest::newRow("time standing after the last whole km still counts")
        << steadyTrack(5, 300, 0, 7.4) << u"25:07"_s << 6;
    QTest::newRow("a watch left running for a day in the second km")
        << Track{{0, 0}, {300, 1000}, {86'700, 2000}} << u"24:05:00"_s << 2;
}

void TestRaceDetailView::lapsAddUpToTheFinish()
{
    QFETCH(Track, track);
    QFETCH(QString, finish);
    QFETCH(int, rows);

    const RaceAnalysis analysis = analyseRace(track);
    const RaceDetailView view = raceDetailView(analysis, {300, true});
    QCOMPARE(static_cast<int>(view.rows.size()), rows);
    int sum = 0;
    for (const QStringList& row : view.rows)
        sum += seconds(row[2]);
    QCOMPARE(sum, seconds(finish));
    QCOMPARE(view.rows.back()[1], finish);
    QVERIFY2(view.summary.contains(u"タイム "_s + finish + u"　"_s), qPrintable(view.summary));

    // The chart's bars are the laps of the table's whole kilometres.
    QCOMPARE(view.chart.points.size(), analysis.splits.size());
    for (std::size_t i = 0; i < view.chart.points.size(); ++i)
        QCOMPARE(static_cast<int>(view.chart.points[i].y()), seconds(view.rows[i][2]));
    // However far apart the laps, the pace axis keeps a readable number of labels.
    QVERIFY(!view.chart.y.ticks.empty() && view.chart.y.ticks.size() <= 7);
}

void TestRaceDetailView::evenPace_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<double>("secondsPerKm");
    QTest::addColumn<bool>("fromRecord");

    // The watch measured 10.2 km in 51:00 (5:00/km); the record says 10 km in 51:00.
    QTest::newRow("the record's official distance, not the watch's")
        << u"  51分 0秒"_s << u"10km"_s << 306.0 << true;
    QTest::newRow("a distance in miles")
        << u" 1時間 0分 0秒"_s << u"10ﾏｲﾙ"_s << 3600 / 16.09344 << true;
    QTest::newRow("an unreadable time: the track's own pace")
        << u"51分"_s << u"10km"_s << 300.0 << false;
    QTest::newRow("an unreadable distance: the track's own pace")
        << u"  51分 0秒"_s << u"10ｷﾛ"_s << 300.0 << false;
}

void TestRaceDetailView::evenPace()
{
    QFETCH(QString, time);
    QFETCH(QString, distance);
    QFETCH(double, secondsPerKm);
    QFETCH(bool, fromRecord);

    const RaceAnalysis analysis = analyseRace({{0, 0}, {3060, 10'200}});
    const EvenPace even = torvanu::evenPace(time, distance, analysis);
    QCOMPARE(even.secondsPerKm, secondsPerKm);
    QCOMPARE(even.fromRecord, fromRecord);
    const RaceDetailView view = raceDetailView(analysis, even);
    QCOMPARE(*view.chart.referenceLine, secondsPerKm);
    QVERIFY(view.chart.y.min <= secondsPerKm && secondsPerKm <= view.chart.y.max);
}

void TestRaceDetailView::halfSplit_data()
{
    QTest::addColumn<Track>("track");
    QTest::addColumn<QString>("halfSplit");
    QTest::addColumn<QString>("fastest");
    QTest::addColumn<QString>("slowest");

    QTest::newRow("a negative split is below zero")
        << Track{{0, 0}, {310, 1000}, {620, 2000}, {920, 3000}, {1200, 4000}}
        << u"前半 10:20　後半 9:40（-6.5%）"_s << u"最速 4km目 4:40"_s << u"最遅 1km目 5:10"_s;
    QTest::newRow("an even race is neither above nor below")
        << steadyTrack(4, 300) << u"前半 10:00　後半 10:00（±0.0%）"_s << u"最速 1km目 5:00"_s
        << u"最遅 1km目 5:00"_s;
    QTest::newRow("under a km: a half split, no fastest or slowest")
        << Track{{0, 0}, {200, 800}} << u"前半 1:40　後半 1:40（±0.0%）"_s << QString()
        << QString();
}

void TestRaceDetailView::halfSplit()
{
    QFETCH(Track, track);
    QFETCH(QString, halfSplit);
    QFETCH(QString, fastest);
    QFETCH(QString, slowest);

    const RaceDetailView view = raceDetailView(analyseRace(track), {300, true});
    QCOMPARE(view.halfSplit, halfSplit);
    QCOMPARE(view.fastest, fastest);
    QCOMPARE(view.slowest, slowest);
}

QTEST_GUILESS_MAIN(TestRaceDetailView)
#include "tst_race_detail_view.moc"
