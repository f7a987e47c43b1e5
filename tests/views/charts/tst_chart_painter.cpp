#include "views/charts/chart_painter.h"
#include "views/charts/line_thinning.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <cmath>
#include <random>

using namespace Qt::StringLiterals;
using namespace torvanu;

Q_DECLARE_METATYPE(std::vector<QPointF>)

class TestChartPainter : public QObject
{
    Q_OBJECT

private slots:
    void onePointPerColumn_data();
    void onePointPerColumn();
    void barUnderPixel_data();
    void barUnderPixel();
    void paintsOddData_data();
    void paintsOddData();
    void thinningKeepsPeaks_data();
    void thinningKeepsPeaks();
};

namespace {

const QRect kArea(0, 0, 400, 200);

ChartData scatter(std::vector<QPointF> points, bool reversed)
{
    ChartData data;
    data.points = std::move(points);
    data.x = {0.0, 1000.0, false, {}};
    data.y = {0.0, 100.0, reversed, {}};
    return data;
}

} // namespace

void TestChartPainter::onePointPerColumn_data()
{
    QTest::addColumn<ChartData>("data");

    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0.0, 1000.0);
    std::uniform_real_distribution<double> y(0.0, 100.0);
    std::vector<QPointF> many;
    for (int i = 0; i < 100'000; ++i)
        many.emplace_back(x(random), y(random));

    QTest::newRow("100,000 races, time axis") << scatter(many, true);
    QTest::newRow("100,000 values, upright axis") << scatter(many, false);
    QTest::newRow("two races on one day") << scatter({{500, 40}, {500, 30}}, true);
    QTest::newRow("every race on one day") << scatter(std::vector<QPointF>(1000, {0, 50}), true);
    QTest::newRow("outside the axes") << scatter({{-50, 10}, {2000, 10}, {500, 500}}, true);
}

// At most one point per pixel column, and in each column the one drawn highest, so that the
// fastest race of the days a column covers is never hidden.
void TestChartPainter::onePointPerColumn()
{
    QFETCH(ChartData, data);

    const ChartPainter painter(data, QGuiApplication::font());
    const QRectF plot = painter.plotArea(kArea);
    const std::vector<int> drawn = painter.drawnPoints(kArea);
    QVERIFY(!drawn.empty());
    QVERIFY(static_cast<int>(drawn.size()) <= plot.width());

    const auto column = [&](int i) {
        return std::clamp(static_cast<int>(std::floor(painter.toPixel(data.points[i], plot).x())),
                          static_cast<int>(plot.left()), static_cast<int>(plot.right()));
    };
    std::map<int, double> highest;
    for (int i = 0; i < static_cast<int>(data.points.size()); ++i) {
        const double y = painter.toPixel(data.points[i], plot).y();
        auto [at, added] = highest.try_emplace(column(i), y);
        if (!added)
            at->second = std::min(at->second, y);
    }
    QCOMPARE(drawn.size(), highest.size());
    for (const int i : drawn)
        QCOMPARE(painter.toPixel(data.points[i], plot).y(), highest[column(i)]);
}

void TestChartPainter::barUnderPixel_data()
{
    QTest::addColumn<double>("share"); // across the plot
    QTest::addColumn<int>("bar");      // -1: none

    QTest::newRow("middle of the first bar") << 1.0 / 6 << 0;
    QTest::newRow("middle of the last bar") << 5.0 / 6 << 2;
    QTest::newRow("gap between bars") << 1.0 / 3 << -1;
}

void TestChartPainter::barUnderPixel()
{
    QFETCH(double, share);
    QFETCH(int, bar);

    ChartData data;
    data.kind = ChartData::Kind::Bars;
    data.points = {{0, 290}, {1, 300}, {2, 310}};
    data.y = {250.0, 320.0, false, {}};
    data.referenceLine = 300.0;
    const ChartPainter painter(data, QGuiApplication::font());
    const QRect plot = painter.plotArea(kArea);
    const QPoint pixel(plot.left() + static_cast<int>(plot.width() * share), plot.center().y());
    QCOMPARE(painter.barAt(pixel, kArea).value_or(-1), bar);
}

// Whatever the values, painting ends and leaves the picture drawn.
void TestChartPainter::paintsOddData_data()
{
    QTest::addColumn<ChartData>("data");

    QTest::newRow("no points") << scatter({}, true);
    ChartData flat = scatter({{5, 5}}, true);
    flat.x = {5.0, 5.0, false, {}};
    flat.y = {5.0, 5.0, true, {}};
    QTest::newRow("axes without a span") << flat;
    QTest::newRow("not a number") << scatter({{qQNaN(), 1}, {1, qInf()}}, true);
    ChartData steps = scatter({{0, 90}, {500, 50}, {900, 10}}, true);
    steps.stepLine = steps.points;
    QTest::newRow("step line") << steps;
    ChartData lines = scatter({}, false);
    lines.kind = ChartData::Kind::Lines;
    lines.series = {{u"a"_s, Qt::red, false, {{0, 10}, {500, qQNaN()}, {600, 20}, {900, 90}}},
                    {u"b"_s, Qt::blue, true, {{0, 1}, {1000, 3}}}};
    lines.y2 = ChartAxis{0.0, 3.0, false, {{1.0, u"1"_s}}};
    QTest::newRow("lines on two scales, one broken") << lines;
    lines.series = {{u"a"_s, Qt::red, false, {}}};
    QTest::newRow("lines without a point") << lines;
}

void TestChartPainter::paintsOddData()
{
    QFETCH(ChartData, data);

    QImage image(kArea.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        ChartPainter(data, QGuiApplication::font()).paint(painter, kArea);
    }
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
}

void TestChartPainter::thinningKeepsPeaks_data()
{
    QTest::addColumn<std::vector<QPointF>>("points");
    QTest::addColumn<int>("columns");

    std::mt19937 random(11);
    std::normal_distribution<double> step(0.0, 1.0);
    std::vector<QPointF> walk;
    double y = 0;
    for (int i = 0; i < 14'400; ++i)
        walk.emplace_back(i, y += step(random));
    QTest::newRow("4 hours at a point a second") << walk << 300;
    QTest::newRow("fewer points than columns")
        << std::vector<QPointF>(walk.begin(), walk.begin() + 50) << 400;
    std::vector<QPointF> gaps = walk;
    for (int i = 1000; i < 14'400; i += 3000)
        std::fill(gaps.begin() + i, gaps.begin() + i + 700, QPointF(0, qQNaN()));
    gaps.back().setY(qQNaN());
    QTest::newRow("stretches without a sample") << gaps << 300;
    QTest::newRow("no sample at all") << std::vector<QPointF>(100, QPointF(1, qQNaN())) << 10;
}

// At most four points a column, and each column's lowest and highest kept; a stretch
// without samples stays one break.
void TestChartPainter::thinningKeepsPeaks()
{
    QFETCH(std::vector<QPointF>, points);
    QFETCH(int, columns);

    const double last = static_cast<double>(points.size());
    const std::vector<QPointF> kept = thinLine(points, 0, last, columns);
    const auto column = [&](const QPointF& p) {
        return std::clamp(static_cast<int>(p.x() * columns / last), 0, columns - 1);
    };
    std::map<int, std::pair<double, double>> extremes;
    std::map<int, std::pair<double, double>> keptExtremes;
    int breaks = 0;
    bool before = false;
    for (const QPointF& p : points) {
        if (std::isnan(p.y())) {
            breaks += before ? 1 : 0;
            before = false;
            continue;
        }
        before = true;
        auto [at, added] = extremes.try_emplace(column(p), p.y(), p.y());
        at->second = {std::min(at->second.first, p.y()), std::max(at->second.second, p.y())};
    }
    int keptBreaks = 0;
    for (const QPointF& p : kept) {
        if (std::isnan(p.y())) {
            ++keptBreaks;
            continue;
        }
        auto [at, added] = keptExtremes.try_emplace(column(p), p.y(), p.y());
        at->second = {std::min(at->second.first, p.y()), std::max(at->second.second, p.y())};
    }
    QCOMPARE(keptExtremes, extremes);
    QCOMPARE(keptBreaks, breaks);
    QVERIFY(kept.size() <= std::min(points.size(), 4 * extremes.size() + breaks));
}

QTEST_MAIN(TestChartPainter)
#include "tst_chart_painter.moc"
