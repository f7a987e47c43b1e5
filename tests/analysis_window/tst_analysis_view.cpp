#include "analysis_window/analysis_view.h"
#include "storage/text_bridge.h"

#include <QtTest>

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

QTEST_APPLESS_MAIN(TestAnalysisView)
#include "tst_analysis_view.moc"
