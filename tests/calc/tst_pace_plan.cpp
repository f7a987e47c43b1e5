#include "calc/lap_table.h"
#include "calc/pace_plan.h"
#include "calc_inputs.h"
#include "qt_text.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace torvanu;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Strategy)
Q_DECLARE_METATYPE(SplitEvery)
Q_DECLARE_METATYPE(PlanStatus)

class TestPacePlan : public QObject
{
    Q_OBJECT

private slots:
    void evenPlanFromPaceIsTheLapTable_data();
    void evenPlanFromPaceIsTheLapTable();
    void evenPlanFromGoalTimeEndsOnIt_data();
    void evenPlanFromGoalTimeEndsOnIt();
    void unevenPlansAddUp_data();
    void unevenPlansAddUp();
    void places_data();
    void places();
    void refusals_data();
    void refusals();
};

namespace {

qint64 secondsOf(const std::u16string& clock)
{
    const QStringList parts = qs(clock).split(u':');
    return parts.value(0).toLongLong() * 3600 + parts.value(1).toLongLong() * 60 +
           parts.value(2).toLongLong();
}

PacePlan planFor(const QStringList& inputs, Mode mode, SplitEvery every = SplitEvery::Km1,
                 Strategy strategy = Strategy::Even, double percent = 0.0)
{
    std::optional<PlanRequest> request = planRequest(Inputs(inputs).view(), mode);
    if (!request)
        return {PlanStatus::NoTime, {}};
    request->every = every;
    request->strategy = strategy;
    request->percent = percent;
    return pacePlan(*request);
}

} // namespace

void TestPacePlan::evenPlanFromPaceIsTheLapTable_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");

    QTest::newRow("start-up pace with its blank") << u"5 "_s << u"0"_s;
    QTest::newRow("half seconds") << u"5"_s << u"20.5"_s;
    QTest::newRow("hundredths just below a minute") << u"4"_s << u"59.99"_s;
    QTest::newRow("fractional minutes carried into seconds") << u"3.5"_s << u"45.25"_s;
    QTest::newRow("a minute read a hair short") << u"4.1"_s << u"0"_s;
    QTest::newRow("an hour per km") << u"60"_s << u"0"_s;
    // Every pace from 2:30 to 9:00 in steps of 7.13 s, so the cuts fall everywhere.
    for (double pace = 150.0; pace <= 540.0; pace += 7.13) {
        const QString seconds = QString::number(std::fmod(pace, 60.0), 'f', 2);
        const QString minutes = QString::number(std::floor(pace / 60.0));
        QTest::addRow("pace %s:%s", qPrintable(minutes), qPrintable(seconds)) << minutes << seconds;
    }
}

// From the goal-time tab the band must say exactly what the lap table beside it says.
void TestPacePlan::evenPlanFromPaceIsTheLapTable()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);

    const QStringList inputs{u"42.195"_s, qs(kKmText), QString(), minutes, seconds};
    const LapTable lap = fullMarathonMatrix(Inputs(inputs).view(), Mode::GoalTime);
    const PacePlan plan = planFor(inputs, Mode::GoalTime);
    QCOMPARE(plan.status, PlanStatus::Ok);
    QCOMPARE(plan.rows.size(), std::size_t{kLapRows + 2});
    for (const PlanRow& row : plan.rows) {
        switch (row.mark) {
        case PlanMark::Split:
            QCOMPARE(qs(row.passing), qs(lap.splits.at(static_cast<std::size_t>(row.km) - 1)));
            break;
        case PlanMark::Half:
            QCOMPARE(qs(row.passing), qs(lap.half));
            QCOMPARE(row.km, kHalfMarathonKm);
            break;
        case PlanMark::Finish:
            QCOMPARE(qs(row.passing), qs(lap.full));
            break;
        }
    }
}

void TestPacePlan::evenPlanFromGoalTimeEndsOnIt_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("finish");

    const QString km = qs(kKmText);
    QTest::newRow("marathon 3:30, where the lap table ends a second early")
        << QStringList{u"42.195"_s, km, u"3"_s, u"30"_s, u"0"_s} << u"3:30:00"_s;
    QTest::newRow("marathon 2:59:59")
        << QStringList{u"42.195"_s, km, u"2"_s, u"59"_s, u"59"_s} << u"2:59:59"_s;
    QTest::newRow("marathon 4:44:44")
        << QStringList{u"42.195"_s, km, u"4"_s, u"44"_s, u"44"_s} << u"4:44:44"_s;
    QTest::newRow("a longer distance, the 42 km rows compared")
        << QStringList{u"50"_s, km, u"4"_s, u"7"_s, u"13"_s} << u"4:07:13"_s;
    QTest::newRow("metres") << QStringList{u"42195"_s, qs(kMetreText), u"3"_s, u"0"_s, u"1"_s}
                            << u"3:00:01"_s;
    QTest::newRow("miles") << QStringList{u"26.2"_s, qs(kMileText), u"4"_s, u"0"_s, u"0"_s}
                           << u"4:00:00"_s;
}

// From the pace tab the runner typed the time; the band ends on it and stays within a second
// of the lap table, which runs on the pace cut to hundredths.
void TestPacePlan::evenPlanFromGoalTimeEndsOnIt()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, finish);

    const LapTable lap = fullMarathonMatrix(Inputs(inputs).view(), Mode::Pace);
    const PacePlan plan = planFor(inputs, Mode::Pace);
    QCOMPARE(plan.status, PlanStatus::Ok);
    QCOMPARE(qs(plan.rows.back().passing), finish);
    for (const PlanRow& row : plan.rows) {
        if (row.mark != PlanMark::Split || row.km > kLapRows)
            continue;
        const qint64 band = secondsOf(row.passing);
        const qint64 table = secondsOf(lap.splits.at(static_cast<std::size_t>(row.km) - 1));
        QVERIFY2(std::abs(band - table) <= 1, qPrintable(qs(row.place)));
    }
}

void TestPacePlan::unevenPlansAddUp_data()
{
    QTest::addColumn<Strategy>("strategy");
    QTest::addColumn<double>("percent");
    QTest::addColumn<SplitEvery>("every");
    QTest::addColumn<QStringList>("inputs");

    const QString km = qs(kKmText);
    const QStringList marathon{u"42.195"_s, km, u"3"_s, u"30"_s, u"0"_s};
    QTest::newRow("2 % negative split") << Strategy::Split << -2.0 << SplitEvery::Km1 << marathon;
    QTest::newRow("20 % negative split") << Strategy::Split << -20.0 << SplitEvery::Km1 << marathon;
    QTest::newRow("5 % positive split in miles")
        << Strategy::Split << 5.0 << SplitEvery::Mile1 << marathon;
    QTest::newRow("split of a 10 km whose half falls on a mark")
        << Strategy::Split << -3.0 << SplitEvery::Km1
        << QStringList{u"10"_s, km, u"0"_s, u"40"_s, u"0"_s};
    QTest::newRow("split of 100 km every 5 km")
        << Strategy::Split << 10.0 << SplitEvery::Km5
        << QStringList{u"100"_s, km, u"9"_s, u"59"_s, u"59"_s};
    QTest::newRow("drift slowing 10 %") << Strategy::Drift << 10.0 << SplitEvery::Km1 << marathon;
    QTest::newRow("drift quickening 20 %")
        << Strategy::Drift << -20.0 << SplitEvery::Km1 << marathon;
    QTest::newRow("drift over a half marathon every 5 km")
        << Strategy::Drift << 6.0 << SplitEvery::Km5
        << QStringList{u"21.0975"_s, km, u"1"_s, u"29"_s, u"59"_s};
}

void TestPacePlan::unevenPlansAddUp()
{
    QFETCH(Strategy, strategy);
    QFETCH(double, percent);
    QFETCH(SplitEvery, every);
    QFETCH(QStringList, inputs);

    const PacePlan plan = planFor(inputs, Mode::Pace, every, strategy, percent);
    QCOMPARE(plan.status, PlanStatus::Ok);
    const double goal =
        inputs[2].toDouble() * 3600 + inputs[3].toDouble() * 60 + inputs[4].toDouble();
    const double q = percent / 100.0;

    qint64 sum = 0;
    qint64 half = -1;
    qint64 previousPace = -1;
    for (const PlanRow& row : plan.rows) {
        sum += secondsOf(row.segment);
        QCOMPARE(sum, secondsOf(row.passing)); // rounding carried, never lost
        if (row.mark == PlanMark::Half)
            half = sum;
        const QStringList pace = qs(row.pace).split(u':');
        const qint64 perKm = pace.value(0).toLongLong() * 60 + pace.value(1).toLongLong();
        // The pace only moves the way the plan says, and a split changes it once.
        if (previousPace >= 0 && strategy == Strategy::Drift && row.mark != PlanMark::Finish)
            QVERIFY(q > 0 ? perKm >= previousPace : perKm <= previousPace);
        previousPace = perKm;
    }
    QCOMPARE(sum, qint64(goal));
    QVERIFY(half > 0);

    const double expectedHalf =
        strategy == Strategy::Split ? goal / (2.0 + q) : goal * (0.5 - q / 8.0);
    QVERIFY2(std::abs(half - expectedHalf) <= 1.0, qPrintable(QString::number(half)));
    if (strategy == Strategy::Split) {
        const double ratio = double(sum - half) / double(half);
        QVERIFY(std::abs(ratio - (1.0 + q)) <= 2.0 / double(half));
        const QString firstPace = qs(plan.rows.front().pace);
        for (const PlanRow& row : plan.rows) {
            if (row.km > plan.rows.back().km / 2.0)
                break;
            QCOMPARE(qs(row.pace), firstPace);
        }
    }
}

void TestPacePlan::places_data()
{
    QTest::addColumn<double>("km");
    QTest::addColumn<SplitEvery>("every");
    QTest::addColumn<QString>("places"); // first rows | last rows
    QTest::addColumn<int>("count");

    QTest::newRow("half of 10 km is the 5 km mark")
        << 10.0 << SplitEvery::Km1 << u"1 km,2 km,3 km,4 km,中間 5 km,6 km|9 km,ゴール 10 km"_s
        << 10;
    QTest::newRow("10 km every 5 km has only the half and the finish")
        << 10.0 << SplitEvery::Km5 << u"中間 5 km,ゴール 10 km|中間 5 km,ゴール 10 km"_s << 2;
    QTest::newRow("half marathon every 5 km ends on a short segment")
        << 21.0975 << SplitEvery::Km5
        << u"5 km,10 km,中間 10.5488 km,15 km|20 km,ゴール 21.0975 km"_s << 6;
    QTest::newRow("a distance shorter than one split")
        << 3.0 << SplitEvery::Km5 << u"中間 1.5 km,ゴール 3 km|中間 1.5 km,ゴール 3 km"_s << 2;
    QTest::newRow("marathon every mile")
        << 42.195 << SplitEvery::Mile1 << u"1 ﾏｲﾙ,2 ﾏｲﾙ|26 ﾏｲﾙ,ゴール 26.2188 ﾏｲﾙ"_s << 28;
    QTest::newRow("26.2 miles every mile")
        << 26.2 * kKmPerMile << SplitEvery::Mile1
        << u"13 ﾏｲﾙ,中間 13.1 ﾏｲﾙ|26 ﾏｲﾙ,ゴール 26.2 ﾏｲﾙ"_s << 28;
    QTest::newRow("100 km every 1 km")
        << 100.0 << SplitEvery::Km1 << u"49 km,中間 50 km,51 km|99 km,ゴール 100 km"_s << 100;
}

void TestPacePlan::places()
{
    QFETCH(double, km);
    QFETCH(SplitEvery, every);
    QFETCH(QString, places);
    QFETCH(int, count);

    PlanRequest request;
    request.distanceKm = km;
    request.paceSecondsPerKm = 360.0;
    request.every = every;
    const PacePlan plan = pacePlan(request);
    QCOMPARE(plan.status, PlanStatus::Ok);
    QCOMPARE(int(plan.rows.size()), count);
    QStringList all;
    for (const PlanRow& row : plan.rows)
        all << qs(row.place);
    const QString joined = all.join(u',');
    const QStringList ends = places.split(u'|');
    QVERIFY2(joined.contains(ends[0]) && joined.endsWith(ends[1]), qPrintable(joined));

    // At 6:00 a km, every time is the distance times six minutes, whatever the segment.
    for (const PlanRow& row : plan.rows) {
        QCOMPARE(secondsOf(row.passing), qint64(std::floor(row.km * 360.0 + 1e-6)));
        QCOMPARE(qs(row.pace), u"6:00"_s);
    }
}

void TestPacePlan::refusals_data()
{
    QTest::addColumn<double>("km");
    QTest::addColumn<double>("goal");
    QTest::addColumn<Strategy>("strategy");
    QTest::addColumn<double>("percent");
    QTest::addColumn<SplitEvery>("every");
    QTest::addColumn<PlanStatus>("status");

    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const auto s = Strategy::Split;
    const auto d = Strategy::Drift;
    const auto k = SplitEvery::Km1;
    QTest::newRow("split of 20 % is a plan")
        << 42.195 << 12600.0 << s << 20.0 << k << PlanStatus::Ok;
    QTest::newRow("drift of -20 % is a plan")
        << 42.195 << 12600.0 << d << -20.0 << k << PlanStatus::Ok;
    QTest::newRow("even ignores the percent")
        << 42.195 << 12600.0 << Strategy::Even << 90.0 << k << PlanStatus::Ok;
    QTest::newRow("split over 20 %")
        << 42.195 << 12600.0 << s << 20.01 << k << PlanStatus::PercentOutOfRange;
    QTest::newRow("drift under -20 %")
        << 42.195 << 12600.0 << d << -20.5 << k << PlanStatus::PercentOutOfRange;
    QTest::newRow("percent not a number")
        << 42.195 << 12600.0 << d << nan << k << PlanStatus::PercentOutOfRange;
    QTest::newRow("zero distance") << 0.0 << 12600.0 << s << 2.0 << k << PlanStatus::ZeroDistance;
    QTest::newRow("negative distance")
        << -5.0 << 12600.0 << s << 2.0 << k << PlanStatus::ZeroDistance;
    QTest::newRow("distance not a number")
        << nan << 12600.0 << s << 2.0 << k << PlanStatus::ZeroDistance;
    QTest::newRow("infinite distance")
        << inf << 12600.0 << s << 2.0 << k << PlanStatus::DistanceTooLong;
    QTest::newRow("beyond 10000 miles")
        << 16093.5 << 1e6 << s << 2.0 << SplitEvery::Km5 << PlanStatus::DistanceTooLong;
    QTest::newRow("10000 miles every 5 km is a plan")
        << 16093.44 << 1e7 << s << 2.0 << SplitEvery::Km5 << PlanStatus::Ok;
    QTest::newRow("10000 km every 1 km is too long a band")
        << 10000.0 << 1e7 << s << 2.0 << k << PlanStatus::TooManyRows;
    QTest::newRow("zero time") << 42.195 << 0.0 << s << 2.0 << k << PlanStatus::NoTime;
    QTest::newRow("negative time") << 42.195 << -60.0 << s << 2.0 << k << PlanStatus::NoTime;
    QTest::newRow("time beyond 32 bits")
        << 42.195 << 1e12 << s << 2.0 << k << PlanStatus::OutOfRange;
}

void TestPacePlan::refusals()
{
    QFETCH(double, km);
    QFETCH(double, goal);
    QFETCH(Strategy, strategy);
    QFETCH(double, percent);
    QFETCH(SplitEvery, every);
    QFETCH(PlanStatus, status);

    PlanRequest request;
    request.distanceKm = km;
    request.goalSeconds = goal;
    request.strategy = strategy;
    request.percent = percent;
    request.every = every;
    const PacePlan plan = pacePlan(request);
    QCOMPARE(plan.status, status);
    QCOMPARE(plan.rows.empty(), status != PlanStatus::Ok);
}

QTEST_APPLESS_MAIN(TestPacePlan)

#include "tst_pace_plan.moc"
