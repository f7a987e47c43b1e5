#include "views/analysis/analysis_view.h"
#include "storage/text_bridge.h"

#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace torvanu;

Q_DECLARE_METATYPE(std::optional<torvanu::Goal>)

class TestAnalysisView : public QObject
{
    Q_OBJECT

private slots:
    void goal_data();
    void goal();
    void trendSpan_data();
    void trendSpan();
    void spreadOfTheShownTimes_data();
    void spreadOfTheShownTimes();
    void trendCaptions_data();
    void trendCaptions();
};

void TestAnalysisView::goal_data()
{
    QTest::addColumn<double>("metres");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<std::optional<Goal>>("goal");

    QTest::newRow("marathon, half a second rounds up as shown")
        << 42195.0 << 11554.5 << std::optional(Goal{u"42.195"_s, 3, 12, 35});
    QTest::newRow("mile in km") << 1609.344 << 300.0 << std::optional(Goal{u"1.609344"_s, 0, 5, 0});
    QTest::newRow("59.5 s carries into the minute")
        << 5000.0 << 1259.5 << std::optional(Goal{u"5"_s, 0, 21, 0});
    QTest::newRow("longer than the calculator takes")
        << 16'093'440.0 << 3.6e6 << std::optional<Goal>();
    QTest::newRow("more hours than the calculator takes")
        << 100000.0 << 1001.0 * 3600 << std::optional<Goal>();
    QTest::newRow("no time") << 5000.0 << qQNaN() << std::optional<Goal>();
}

void TestAnalysisView::goal()
{
    QFETCH(double, metres);
    QFETCH(double, seconds);
    QFETCH(std::optional<Goal>, goal);

    QCOMPARE(goalFor(metres, seconds), goal);
}

void TestAnalysisView::trendSpan_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("yearTicks");

    QTest::newRow("one race: a year around it")
        << QStringList{u"2022年06月15日"_s} << QStringList{u"  20分 0秒"_s} << 1;
    QTest::newRow("same time every race") << QStringList{u"2020年06月15日"_s, u"2024年06月15日"_s}
                                          << QStringList{u"  20分 0秒"_s, u"  20分 0秒"_s} << 4;
    QTest::newRow("two centuries: at most twelve years marked")
        << QStringList{u"1900年01月01日"_s, u"2100年12月31日"_s}
        << QStringList{u"  20分 0秒"_s, u"  25分 0秒"_s} << 12;
    QTest::newRow("a second and a million hours: still a handful of time ticks")
        << QStringList{u"2020年06月15日"_s, u"2021年06月15日"_s}
        << QStringList{u"  0分 1秒"_s, u"999999時間 0分 0秒"_s} << 2;
}

// Whatever the book, the chart has a span to draw across and a readable number of ticks.
void TestAnalysisView::trendSpan()
{
    QFETCH(QStringList, dates);
    QFETCH(QStringList, times);
    QFETCH(int, yearTicks);

    const QString distance = u"5km"_s;
    std::vector<RaceRow> rows;
    for (qsizetype i = 0; i < dates.size(); ++i)
        rows.push_back({toU16(dates[i]), {}, toU16(distance), toU16(times[i])});
    const BookAnalysis analysis = analyseBook(rows);
    const ChartData chart = trendChartData(analysis, trendOf(analysis, 0));
    QVERIFY(chart.x.min < chart.x.max);
    QVERIFY(chart.y.min < chart.y.max);
    QVERIFY(chart.y.reversed);
    QVERIFY(!chart.y.ticks.empty() && chart.y.ticks.size() <= 7);
    QCOMPARE(static_cast<int>(chart.x.ticks.size()) <= yearTicks, true);
    QVERIFY(!chart.x.ticks.empty());
    for (const ChartTick& tick : chart.y.ticks)
        QVERIFY(tick.value >= chart.y.min && tick.value <= chart.y.max);
}

void TestAnalysisView::spreadOfTheShownTimes_data()
{
    QTest::addColumn<double>("riegel");
    QTest::addColumn<double>("cameron");
    QTest::addColumn<QString>("spread");

    QTest::newRow("1:37:41 - 1:37:12, not the 29.8 s behind them") << 5861.4 << 5831.6 << u"0:29"_s;
    QTest::newRow("3:26:32 - 3:22:48") << 12392.4 << 12167.6 << u"3:44"_s;
    QTest::newRow("halves round up as they are shown") << 100.5 << 90.4 << u"0:11"_s;
    QTest::newRow("equal as shown") << 600.4 << 599.6 << u"0:00"_s;
}

// The spread column must agree with the times beside it.
void TestAnalysisView::spreadOfTheShownTimes()
{
    QFETCH(double, riegel);
    QFETCH(double, cameron);
    QFETCH(QString, spread);

    const std::vector<RaceRow> rows{{u"2022年06月15日", {}, u"10km", u"  40分 0秒"}};
    const BookAnalysis analysis = analyseBook(rows);
    Predictions predictions;
    predictions.race = 0;
    PredictionRow row;
    row.name = u"ハーフ";
    row.seconds[0] = riegel;
    row.seconds[1] = cameron;
    row.spread = std::abs(riegel - cameron);
    predictions.rows.push_back(row);
    const PredictionView view = predictionView(analysis, rows, predictions);
    QCOMPARE(view.table.rows.at(0).back().text, spread);
}

void TestAnalysisView::trendCaptions_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<QString>("timeAxis");

    QTest::newRow("marathons: hours, minutes and seconds")
        << QStringList{u" 3時間30分 0秒"_s, u" 3時間50分 0秒"_s} << u"タイム（時:分:秒）"_s;
    QTest::newRow("5 km: minutes and seconds")
        << QStringList{u"  20分 0秒"_s, u"  25分 0秒"_s} << u"タイム（分:秒）"_s;
}

// A saved picture names what it shows and the units of its axes.
void TestAnalysisView::trendCaptions()
{
    QFETCH(QStringList, times);
    QFETCH(QString, timeAxis);

    std::vector<RaceRow> rows;
    for (const QString& time : times)
        rows.push_back({u"2022年06月15日", {}, u"10km", toU16(time)});
    const BookAnalysis analysis = analyseBook(rows);
    const ChartData chart = trendChartData(analysis, trendOf(analysis, 0));
    const ChartCaptions captions = torvanu::trendCaptions(u"10km"_s, chart);
    QCOMPARE(captions.title, u"10km 推移"_s);
    QCOMPARE(captions.xLabel, u"年"_s);
    QCOMPARE(captions.yLabel, timeAxis);
}

QTEST_APPLESS_MAIN(TestAnalysisView)
#include "tst_analysis_view.moc"
