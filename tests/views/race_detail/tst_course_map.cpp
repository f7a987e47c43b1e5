#include "views/race_detail/course_map.h"

#include "support/channelled_run.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;
using namespace torvanu;

Q_DECLARE_METATYPE(torvanu::Activity)

namespace {

constexpr double kMetresPerDegree = 6'371'008.8 * std::numbers::pi / 180;

// A run due north from latitude 50 along a meridian, a point every step metres at 3:00/km;
// the points from noFix to noFix + gap - 1 have no fix.
Activity northwards(double metres, int noFix = -1, int gap = 0, double step = 100)
{
    Activity run;
    for (int i = 0; i * step <= metres; ++i) {
        run.track.push_back({0.3 * step * i, step * i});
        const bool fixed = i < noFix || i >= noFix + gap;
        run.channels.position.push_back(fixed ? GeoPoint{50 + step * i / kMetresPerDegree, 8}
                                              : GeoPoint{std::nan(""), std::nan("")});
    }
    return run;
}

// A square course of side metres with its south-west corner at latitude and longitude, run
// anticlockwise; longitudes as a GPS gives them, from -180 to 180.
Activity square(double latitude, double longitude, double side)
{
    Activity run;
    const double north = side / kMetresPerDegree;
    const double east =
        std::remainder(longitude + north / std::cos(latitude * std::numbers::pi / 180), 360.0);
    const GeoPoint corners[] = {{latitude, longitude},
                                {latitude, east},
                                {latitude + north, east},
                                {latitude + north, longitude},
                                {latitude, longitude}};
    for (int i = 0; i < 5; ++i) {
        run.track.push_back({60.0 * i, side * i});
        run.channels.position.push_back(corners[i]);
    }
    return run;
}

} // namespace

class TestCourseMap : public QObject
{
    Q_OBJECT

private slots:
    void keepsItsShape_data();
    void keepsItsShape();
    void scaleBar_data();
    void scaleBar();
    void marks_data();
    void marks();
    void paceRamp();
};

void TestCourseMap::keepsItsShape_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QRectF>("area"); // where it is drawn, in pixels

    QTest::newRow("on the equator, in a wide area") << 0.0 << 10.0 << QRectF(0, 0, 400, 200);
    QTest::newRow("Tokyo, in a tall area") << 35.7 << 139.7 << QRectF(10, 10, 200, 500);
    QTest::newRow("Helsinki, where a degree east is half a degree north")
        << 60.2 << 24.9 << QRectF(0, 0, 300, 300);
    QTest::newRow("Ushuaia, south") << -54.8 << -68.3 << QRectF(0, 0, 640, 360);
    QTest::newRow("Taveuni, across the 180th meridian")
        << -16.8 << 179.99 << QRectF(0, 0, 300, 300);
}

// A square stays a square, north up, wherever on Earth and whatever the widget's shape.
void TestCourseMap::keepsItsShape()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QRectF, area);

    const std::optional<CourseMap> map = courseMap(square(latitude, longitude, 2000));
    QVERIFY(map);
    QVERIFY2(std::abs(map->bounds.width() / map->bounds.height() - 1) < 0.01,
             qPrintable(u"%1 x %2"_s.arg(map->bounds.width()).arg(map->bounds.height())));
    QVERIFY(std::abs(map->bounds.width() - 2000) < 20);

    const QTransform transform = courseTransform(map->bounds, area);
    const QRectF drawn = transform.mapRect(map->bounds);
    // One scale both ways, as large as the area allows.
    QCOMPARE(drawn.width() / drawn.height(), map->bounds.width() / map->bounds.height());
    QCOMPARE(std::max(drawn.width() / area.width(), drawn.height() / area.height()), 1.0);
    QVERIFY(area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(drawn));
    // The second corner is east of the first, the third north of the second.
    const QPointF first = transform.map(map->points[0]);
    const QPointF second = transform.map(map->points[1]);
    const QPointF third = transform.map(map->points[2]);
    QVERIFY(second.x() > first.x() + 1 && third.y() < second.y() - 1);
}

void TestCourseMap::scaleBar_data()
{
    QTest::addColumn<double>("extent"); // metres across the course
    QTest::addColumn<double>("metres");
    QTest::addColumn<QString>("text");

    QTest::newRow("a track of 400 m") << 120.0 << 20.0 << u"0.02km"_s;
    QTest::newRow("a park of 1 km") << 1000.0 << 200.0 << u"0.2km"_s;
    QTest::newRow("a 10 km loop, 3.9 km across") << 3900.0 << 500.0 << u"0.5km"_s;
    QTest::newRow("exactly a round quarter") << 8000.0 << 2000.0 << u"2km"_s;
    QTest::newRow("a point-to-point marathon") << 41000.0 << 10000.0 << u"10km"_s;
    QTest::newRow("a run that never moved") << 0.0 << 10.0 << u"0.01km"_s;
}

// A round length of 1, 2 or 5 times a power of ten, and at most a quarter across.
void TestCourseMap::scaleBar()
{
    QFETCH(double, extent);
    QFETCH(double, metres);
    QFETCH(QString, text);

    QCOMPARE(scaleBarMetres(extent), metres);
    QCOMPARE(scaleBarText(metres), text);
}

void TestCourseMap::marks_data()
{
    QTest::addColumn<Activity>("run");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<double>>("northOfStart"); // metres, each mark

    QTest::newRow("12.3 km") << northwards(12'300) << QStringList{u"5km"_s, u"10km"_s}
                             << QList<double>{5000, 10'000};
    QTest::newRow("10 km: the finish is no mark")
        << northwards(10'000) << QStringList{u"5km"_s} << QList<double>{5000};
    QTest::newRow("no fix at 5 km")
        << northwards(12'300, 48, 5) << QStringList{u"10km"_s} << QList<double>{10'000};
    QTest::newRow("no fix from 5.3 km on")
        << northwards(12'300, 53, 70) << QStringList{u"5km"_s} << QList<double>{5000};
    QTest::newRow("5 km between two points 300 m apart")
        << northwards(6000, -1, 0, 300) << QStringList{u"5km"_s} << QList<double>{5000};
}

// Each 5 km passed before the finish is marked where the runner passed it, from the fixes
// either side; start and finish at the first and last fix.
void TestCourseMap::marks()
{
    QFETCH(Activity, run);
    QFETCH(QStringList, labels);
    QFETCH(QList<double>, northOfStart);

    const std::optional<CourseMap> map = courseMap(run);
    QVERIFY(map);
    QCOMPARE(int(map->marks.size()), labels.size());
    for (int i = 0; i < labels.size(); ++i) {
        QCOMPARE(map->marks[i].label, labels[i]);
        QVERIFY(std::abs(map->marks[i].at.y() - map->start.at.y() - northOfStart[i]) < 1);
        QVERIFY(std::abs(map->marks[i].at.x() - map->start.at.x()) < 1);
    }
    QCOMPARE(map->start.at, map->points.front());
    const auto lastFix = std::find_if(map->points.rbegin(), map->points.rend(),
                                      [](const QPointF& p) { return !std::isnan(p.x()); });
    QCOMPARE(map->finish.at, *lastFix);
    // A point without a fix breaks the line instead of joining its neighbours.
    for (std::size_t i = 0; i < run.track.size(); ++i)
        QCOMPARE(std::isnan(map->points[i].x()), std::isnan(run.channels.position[i].latitude));
}

// The stretches at 3 m/s are the slow end of the ramp, those at 3.6 m/s the fast end; no
// course without a single fix, and no end of marks from wild distances.
void TestCourseMap::paceRamp()
{
    const Activity run = test::channelledRun(1200);
    const std::optional<CourseMap> map = courseMap(run);
    QVERIFY(map);
    QVERIFY(std::abs(map->slowPace - 1000 / 3.0) < 1);
    QVERIFY(std::abs(map->fastPace - 1000 / 3.6) < 1);
    QVERIFY(map->speed[60] < 0.01f);  // the middle of the first, slow stretch
    QVERIFY(map->speed[180] > 0.99f); // the middle of the second, fast one
    QCOMPARE(paceColour(0), QColor(0x4575b4));
    QCOMPARE(paceColour(1), QColor(0xd73027));

    QVERIFY(!courseMap(test::channelledRun(60, {true, true, false})));
    Activity noFix = northwards(1000, 0, 11);
    QVERIFY(!courseMap(noFix));

    // A file whose two fixes lie 40,000 km apart by its distances marks 5000 km at most.
    Activity wild = northwards(100);
    wild.track.back().distance = 4e10;
    QCOMPARE(courseMap(wild)->marks.size(), std::size_t{1000});
}

QTEST_MAIN(TestCourseMap)
#include "tst_course_map.moc"
