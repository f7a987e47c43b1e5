#include "analysis/elevation_profile.h"
#include "analysis/grade_cost.h"
#include "analysis/time_weighted.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace torvanu;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A course as a watch records it: a point every 'spacing' metres, the true elevation at each
// plus noise that swings by 'noise' metres either way, repeating every seven points.
struct Course
{
    std::vector<double> distances;
    std::vector<float> altitudes;
};

template <class Elevation> Course course(double metres, double spacing, double noise, Elevation at)
{
    constexpr double wobble[] = {0, 1, -1, 0.5, -0.5, 0.8, -0.8};
    Course made;
    for (int i = 0; i * spacing <= metres; ++i) {
        const double x = i * spacing;
        made.distances.push_back(x);
        made.altitudes.push_back(static_cast<float>(at(x) + noise * wobble[i % 7]));
    }
    return made;
}

// 60 m up over the second km, down again over the fourth and fifth, on 6 km.
double hill(double x)
{
    if (x < 1000 || x > 5000)
        return 100;
    if (x < 2000)
        return 100 + 0.06 * (x - 1000);
    if (x < 3000)
        return 160;
    return 160 - 0.03 * (x - 3000);
}

} // namespace

class TestRaceTerrain : public QObject
{
    Q_OBJECT

private slots:
    void runningCost_data();
    void runningCost();
    void climb_data();
    void climb();
    void effortOfASteadySlope();
    void timeWeighted_data();
    void timeWeighted();
};

void TestRaceTerrain::runningCost_data()
{
    QTest::addColumn<double>("grade");
    QTest::addColumn<double>("cost"); // J/(kg m), the polynomial worked out by hand

    QTest::newRow("30 % down") << -0.3 << 2.462238;
    QTest::newRow("10 % down: the cheapest running") << -0.1 << 2.151706;
    QTest::newRow("flat") << 0.0 << 3.6;
    QTest::newRow("10 % up") << 0.1 << 5.968214;
    QTest::newRow("30 % up") << 0.3 << 12.579282;
    QTest::newRow("steeper than measured costs what 45 % does") << 0.6 << 19.4260145625;
    QTest::newRow("and downhill the same") << -0.9 << 4.0323054375;
}

void TestRaceTerrain::runningCost()
{
    QFETCH(double, grade);
    QFETCH(double, cost);

    QVERIFY(std::abs(torvanu::runningCost(grade) - cost) < 1e-9);
    QVERIFY(std::abs(flatEquivalent(grade) - cost / 3.6) < 1e-9);
}

void TestRaceTerrain::climb_data()
{
    QTest::addColumn<double>("length"); // metres
    QTest::addColumn<double>("spacing");
    QTest::addColumn<double>("noise");
    QTest::addColumn<bool>("hilly");
    QTest::addColumn<double>("ascent");
    QTest::addColumn<double>("descent");
    QTest::addColumn<double>("within"); // metres either way

    QTest::newRow("a flat road's GPS noise climbs nothing")
        << 6000.0 << 3.0 << 1.5 << false << 0.0 << 0.0 << 0.5;
    QTest::newRow("a hill counts its whole height, with noise")
        << 6000.0 << 3.0 << 1.0 << true << 60.0 << 60.0 << 3.0;
    QTest::newRow("the same hill, a point every 25 m")
        << 6000.0 << 25.0 << 1.0 << true << 60.0 << 60.0 << 3.0;
    QTest::newRow("the same hill without noise")
        << 6000.0 << 3.0 << 0.0 << true << 60.0 << 60.0 << 1.0;
}

// The totals come near the true climb, and the kms add up to the totals exactly.
void TestRaceTerrain::climb()
{
    QFETCH(double, length);
    QFETCH(double, spacing);
    QFETCH(double, noise);
    QFETCH(bool, hilly);
    QFETCH(double, ascent);
    QFETCH(double, descent);
    QFETCH(double, within);

    const Course made =
        course(length, spacing, noise, [hilly](double x) { return hilly ? hill(x) : 100.0; });
    const ElevationProfile profile(made.distances, made.altitudes);
    const Climb total = profile.total();
    QVERIFY2(std::abs(total.ascent - ascent) <= within, qPrintable(QString::number(total.ascent)));
    QVERIFY2(std::abs(total.descent - descent) <= within,
             qPrintable(QString::number(total.descent)));
    Climb sum;
    for (double km = 0; km < length; km += 1000) {
        const Climb part = profile.between(km, km + 1000);
        QVERIFY(part.ascent >= 0 && part.descent >= 0);
        sum.ascent += part.ascent;
        sum.descent += part.descent;
    }
    QVERIFY(std::abs(sum.ascent - total.ascent) < 1e-6);
    QVERIFY(std::abs(sum.descent - total.descent) < 1e-6);
    if (hilly) {
        // The climb is in the second km, the descent in the fourth and fifth.
        QVERIFY(profile.between(1000, 2000).ascent > 0.9 * ascent);
        QVERIFY(profile.between(3000, 5000).descent > 0.9 * descent);
    }
}

// A km up a steady 6 % slope is worth C(0.06) / 3.6 km of flat; around it the flat is worth 1.
void TestRaceTerrain::effortOfASteadySlope()
{
    const Course made = course(6000, 3, 0, hill);
    const ElevationProfile profile(made.distances, made.altitudes);
    const double within = 0.02; // the moving average rounds the corners of the slope
    QVERIFY(std::abs(profile.effortFactor(1000, 2000) - flatEquivalent(0.06)) < within);
    QVERIFY(std::abs(profile.effortFactor(3000, 5000) - flatEquivalent(-0.03)) < within);
    QVERIFY(std::abs(profile.effortFactor(0, 900) - 1) < 1e-9);
    QVERIFY(std::abs(profile.effortFactor(6000, 7000) - 1) < 1e-9); // past the last point
    // A course without elevation is flat.
    QCOMPARE(ElevationProfile(made.distances, std::vector<float>(made.distances.size(), kNaN))
                 .effortFactor(0, 1000),
             1.0);
}

void TestRaceTerrain::timeWeighted_data()
{
    QTest::addColumn<std::vector<double>>("times");
    QTest::addColumn<std::vector<float>>("values");
    QTest::addColumn<bool>("skipZero");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("mean");

    // 120 for 10 s, then 180 for 30 s: 165, not the 150 of the two samples.
    QTest::newRow("by time, not by sample")
        << std::vector<double>{0, 10, 40} << std::vector<float>{120, 180, 0} << false << 0.0 << 40.0
        << 165.0;
    QTest::newRow("a stretch inside two points takes its share")
        << std::vector<double>{0, 10, 40} << std::vector<float>{120, 180, 0} << false << 5.0 << 20.0
        << 160.0;
    QTest::newRow("a pause of the watch holds a sample 30 s at most")
        << std::vector<double>{0, 10, 610} << std::vector<float>{120, 180, 0} << false << 0.0
        << 610.0 << 165.0;
    QTest::newRow("points without a sample count no time")
        << std::vector<double>{0, 10, 20, 30} << std::vector<float>{150, kNaN, 170, 0} << false
        << 0.0 << 30.0 << 160.0;
    QTest::newRow("standing still is no cadence")
        << std::vector<double>{0, 10, 20, 30} << std::vector<float>{180, 0, 170, 0} << true << 0.0
        << 30.0 << 175.0;
}

void TestRaceTerrain::timeWeighted()
{
    QFETCH(std::vector<double>, times);
    QFETCH(std::vector<float>, values);
    QFETCH(bool, skipZero);
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, mean);

    const TimeWeighted channel(times, values, {.skipZero = skipZero});
    QVERIFY(std::abs(*channel.mean(from, to) - mean) < 1e-9);
}

QTEST_APPLESS_MAIN(TestRaceTerrain)
#include "tst_race_terrain.moc"
