#include "activity/activity_choice.h"

#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::Activity;
using torvanu::ActivityFormat;
using torvanu::ActivityReadResult;
using torvanu::RaceFacts;
using torvanu::Sport;

Q_DECLARE_METATYPE(RaceFacts)
Q_DECLARE_METATYPE(ActivityFormat)

namespace {

// An even effort from startUtc, a point every 100 m; untimed, a planned route.
Activity leg(Sport sport, const QString& startUtc, double metres, double seconds, bool timed = true)
{
    Activity made;
    made.sport = sport;
    made.timed = timed;
    if (timed)
        made.start.utc = QDateTime::fromString(startUtc, Qt::ISODate);
    made.elapsed = made.timer = timed ? seconds : 0;
    made.distance = metres;
    for (double at = 0; at < metres; at += 100)
        made.track.push_back({timed ? seconds * at / metres : 0, at});
    made.track.push_back({made.elapsed, metres});
    return made;
}

// A duathlon morning in Japan (UTC+9) and a run the next day, as a watch lists them.
const QList<Activity> kDays = {
    leg(Sport::Running, u"2024-11-08T00:00:00Z"_s, 2245, 785),
    leg(Sport::Transition, u"2024-11-08T00:13:05Z"_s, 120, 95),
    leg(Sport::Cycling, u"2024-11-08T00:14:40Z"_s, 20000, 2400),
    leg(Sport::Transition, u"2024-11-08T00:54:40Z"_s, 90, 70),
    leg(Sport::Running, u"2024-11-08T00:55:50Z"_s, 12740, 3723),
    leg(Sport::Running, u"2024-11-09T00:00:00Z"_s, 12740, 3900),
};
const QTimeZone kJapan(9 * 3600);

RaceFacts facts(const QDate& date, std::optional<double> metres, std::optional<double> seconds)
{
    return {date.isValid() ? std::optional(date) : std::nullopt, metres, seconds};
}

} // namespace

class TestActivityChoice : public QObject
{
    Q_OBJECT

private slots:
    void offeredFirst_data();
    void offeredFirst();
    void matching_data();
    void matching();
    void allTracksAsOne_data();
    void allTracksAsOne();
};

void TestActivityChoice::offeredFirst_data()
{
    QTest::addColumn<QList<Activity>>("activities");
    QTest::addColumn<int>("preferred");

    const QString at = u"2024-11-08T00:00:00Z"_s;
    const Activity route = leg(Sport::Running, at, 10000, 0, false);
    const Activity ride = leg(Sport::Cycling, at, 20000, 2400);
    const Activity swim = leg(Sport::Swimming, at, 750, 900);
    const Activity run = leg(Sport::Running, at, 5000, 1500);
    QTest::newRow("the first run") << QList{swim, ride, run, run} << 2;
    QTest::newRow("a timed run over a planned one before it") << QList{route, ride, run} << 2;
    QTest::newRow("a timed ride over a planned run") << QList{route, ride} << 1;
    QTest::newRow("no run: the first timed") << QList{route, swim, ride} << 1;
    QTest::newRow("nothing timed: the first run") << QList{route, route} << 0;
}

void TestActivityChoice::offeredFirst()
{
    QFETCH(QList<Activity>, activities);
    QFETCH(int, preferred);
    QCOMPARE(torvanu::preferredActivity(activities), preferred);
}

void TestActivityChoice::matching_data()
{
    QTest::addColumn<QList<Activity>>("activities");
    QTest::addColumn<RaceFacts>("race");
    QTest::addColumn<int>("match");

    const QDate raceDay(2024, 11, 8);
    const QDate nextDay(2024, 11, 9);
    QTest::newRow("the short run by its distance and time")
        << kDays << facts(raceDay, 2245, 785) << 0;
    QTest::newRow("the long run by its distance and time")
        << kDays << facts(raceDay, 12740, 3723) << 4;
    QTest::newRow("the official distance, not the watch's")
        << kDays << facts(raceDay, 12500, 3725) << 4;
    QTest::newRow("the ride, for a record of it") << kDays << facts(raceDay, 20000, 2420) << 2;
    QTest::newRow("distance alone") << kDays << facts(raceDay, 2000, {}) << 0;
    QTest::newRow("time alone") << kDays << facts(raceDay, {}, 3600) << 4;
    QTest::newRow("the record's day before a nearer time on another")
        << kDays << facts(raceDay, 12740, 3900) << 4;
    QTest::newRow("the other day's run") << kDays << facts(nextDay, 12740, 3723) << 5;
    QTest::newRow("a day of no activity: all of them")
        << kDays << facts(QDate(2024, 11, 10), 12740, 3890) << 5;
    QTest::newRow("the date alone: that day's first run") << kDays << facts(nextDay, {}, {}) << 5;
    QTest::newRow("nothing that reads: the first run") << kDays << facts({}, {}, {}) << 0;

    QList<Activity> withRoute = kDays;
    withRoute.prepend(leg(Sport::Running, {}, 12740, 0, false));
    QTest::newRow("a planned route is never the race")
        << withRoute << facts(raceDay, 12740, 3723) << 5;
    QTest::newRow("only a planned route: that one")
        << withRoute.first(1) << facts(raceDay, 12740, 3723) << 0;
}

void TestActivityChoice::matching()
{
    QFETCH(QList<Activity>, activities);
    QFETCH(RaceFacts, race);
    QFETCH(int, match);
    QCOMPARE(torvanu::matchingActivity(activities, race, kJapan), match);
}

void TestActivityChoice::allTracksAsOne_data()
{
    QTest::addColumn<ActivityFormat>("format");
    QTest::addColumn<QList<Activity>>("activities");
    QTest::addColumn<double>("distance"); // 0: nothing offered
    QTest::addColumn<double>("elapsed");

    // Two halves of a 10 km run with a stop of five minutes between, listed late one first.
    const Activity first = leg(Sport::Running, u"2024-11-08T00:00:00Z"_s, 5000, 1500);
    const Activity second = leg(Sport::Running, u"2024-11-08T00:30:00Z"_s, 5000, 1400);
    QTest::newRow("GPX tracks: distances summed, the time from first point to last")
        << ActivityFormat::Gpx << QList{second, first} << 10000.0 << 3200.0;
    QTest::newRow("one track: nothing") << ActivityFormat::Gpx << QList{first} << 0.0 << 0.0;
    QTest::newRow("a track without times: nothing")
        << ActivityFormat::Gpx << QList{first, leg(Sport::Running, {}, 5000, 0, false)} << 0.0
        << 0.0;
    QTest::newRow("FIT sessions are legs, not pieces: nothing")
        << ActivityFormat::Fit << QList{first, second} << 0.0 << 0.0;
}

void TestActivityChoice::allTracksAsOne()
{
    QFETCH(ActivityFormat, format);
    QFETCH(QList<Activity>, activities);
    QFETCH(double, distance);
    QFETCH(double, elapsed);

    ActivityReadResult read;
    read.format = format;
    read.activities = activities;
    const std::optional<Activity> all = torvanu::allTracksAsOne(read);
    QCOMPARE(all.has_value(), distance > 0);
    if (!all)
        return;
    QCOMPARE(all->start.utc, QDateTime::fromString(u"2024-11-08T00:00:00Z"_s, Qt::ISODate));
    QCOMPARE(all->distance, distance);
    QCOMPARE(all->elapsed, elapsed);
    QCOMPARE(all->timer, 2900.0);
    // The track goes on where the first left off, with the stop between them.
    QCOMPARE(all->track.back().time, elapsed);
    QCOMPARE(all->track.back().distance, distance);
    const auto resumed = std::find_if(all->track.begin(), all->track.end(),
                                      [](const auto& point) { return point.time >= 1800; });
    QVERIFY(resumed != all->track.end());
    QCOMPARE(resumed->time, 1800.0);
    QCOMPARE(resumed->distance, 5000.0);
}

QTEST_APPLESS_MAIN(TestActivityChoice)
#include "tst_activity_choice.moc"
