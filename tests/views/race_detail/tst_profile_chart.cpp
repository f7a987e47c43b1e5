#include "views/race_detail/profile_chart.h"

#include "support/channelled_run.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace torvanu;

Q_DECLARE_METATYPE(torvanu::test::RunChannels)

class TestProfileChart : public QObject
{
    Q_OBJECT

private slots:
    void drawsWhatTheFileHas_data();
    void drawsWhatTheFileHas();
};

void TestProfileChart::drawsWhatTheFileHas_data()
{
    QTest::addColumn<test::RunChannels>("channels");
    QTest::addColumn<bool>("flat");         // every altitude 12 m: GPS noise is no hill
    QTest::addColumn<bool>("noSamples");    // the channels there, every sample NaN
    QTest::addColumn<QStringList>("left");  // the series on the left scale
    QTest::addColumn<QStringList>("right"); // on the right one
    QTest::addColumn<QString>("note");

    const QString elevation = u"標高(m)"_s;
    const QString heartRate = u"心拍(拍/分)"_s;
    QTest::newRow("both") << test::RunChannels{} << false << false << QStringList{elevation}
                          << QStringList{heartRate} << QString();
    QTest::newRow("both, on a flat course")
        << test::RunChannels{} << true << false << QStringList{elevation} << QStringList{heartRate}
        << QString();
    QTest::newRow("elevation alone")
        << test::RunChannels{true, false, true} << false << false << QStringList{elevation}
        << QStringList{} << u"このファイルには心拍の記録がありません。"_s;
    QTest::newRow("heart rate alone, on the left")
        << test::RunChannels{false, true, true} << false << false << QStringList{heartRate}
        << QStringList{} << u"このファイルには標高の記録がありません。"_s;
    QTest::newRow("neither") << test::RunChannels{false, false, true} << false << false
                             << QStringList{} << QStringList{}
                             << u"このファイルには標高と心拍の記録がありません。"_s;
    QTest::newRow("both channels without a sample")
        << test::RunChannels{} << false << true << QStringList{} << QStringList{}
        << u"このファイルには標高と心拍の記録がありません。"_s;
}

// Each series on its own scale, every value inside it, a grid line at whole km; what the file
// lacks said in one line.
void TestProfileChart::drawsWhatTheFileHas()
{
    QFETCH(test::RunChannels, channels);
    QFETCH(bool, flat);
    QFETCH(bool, noSamples);
    QFETCH(QStringList, left);
    QFETCH(QStringList, right);
    QFETCH(QString, note);

    Activity run = test::channelledRun(3600, channels);
    if (flat)
        std::fill(run.channels.altitude.begin(), run.channels.altitude.end(), 12.0f);
    if (noSamples) {
        std::fill(run.channels.altitude.begin(), run.channels.altitude.end(), std::nanf(""));
        std::fill(run.channels.heartRate.begin(), run.channels.heartRate.end(), std::nanf(""));
    }
    const ProfileChart profile = profileChart(run);
    QCOMPARE(profile.note, note);
    const ChartData& chart = profile.chart;
    QCOMPARE(chart.kind, ChartData::Kind::Lines);
    QStringList onLeft;
    QStringList onRight;
    for (const ChartSeries& series : chart.series) {
        (series.rightAxis ? onRight : onLeft).append(series.name);
        const ChartAxis& axis = series.rightAxis ? *chart.y2 : chart.y;
        QCOMPARE(series.points.size(), run.track.size());
        QCOMPARE(series.points.back().x(), run.track.back().distance / 1000);
        const auto [low, high] =
            std::minmax_element(series.points.begin(), series.points.end(),
                                [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
        QVERIFY(axis.min < low->y() && high->y() < axis.max);
        QVERIFY(axis.max - axis.min >= 30);
        QVERIFY(!axis.ticks.empty() && axis.ticks.size() <= 6);
    }
    QCOMPARE(onLeft, left);
    QCOMPARE(onRight, right);
    QCOMPARE(chart.y2.has_value(), !right.isEmpty());
    if (chart.series.empty())
        return;
    // About 11.8 km: a mark every 2 km, on the km.
    QCOMPARE(chart.x.ticks.size(), std::size_t{6});
    for (const ChartTick& tick : chart.x.ticks)
        QCOMPARE(std::fmod(tick.value, 2.0), 0.0);
    QCOMPARE(chart.x.ticks[1].label, u"2km"_s);
}

QTEST_MAIN(TestProfileChart)
#include "tst_profile_chart.moc"
