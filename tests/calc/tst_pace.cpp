#include "calc/pace.h"
#include "qt_text.h"

#include <QtTest>

using namespace torvanu;
using namespace Qt::StringLiterals;

class TestPace : public QObject
{
    Q_OBJECT

private slots:
    void calc_data();
    void calc();
};

namespace {

const QString kKm = qs(kKmText);
const QString kMetre = qs(kMetreText);
const QString kMile = qs(kMileText);
const QString kOutOfRange = qs(kOutOfRangeText);
const QString kZeroDistance = qs(kZeroDistanceText);

// The goal-time tab has no hours picker.
QStringList goal(const QString& distance, const QString& unit, const QString& minutes,
                 const QString& seconds)
{
    return {distance, unit, QString(), minutes, seconds};
}

QStringList pace(const QString& distance, const QString& unit, const QString& hours,
                 const QString& minutes, const QString& seconds)
{
    return {distance, unit, hours, minutes, seconds};
}

} // namespace

void TestPace::calc_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("inputs"); // distance, unit, hours, minutes, seconds
    QTest::addColumn<CalcStatus>("status");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("compact");

    const auto ok = CalcStatus::Ok;
    const auto outOfRange = CalcStatus::OutOfRange;
    const auto zeroDistance = CalcStatus::ZeroDistance;

    QTest::newRow("goal time, marathon at 5:00, half second kept")
        << 1 << goal(u"42.195"_s, kKm, u"5"_s, u"0"_s) << ok << u"3時間 30分 58秒 .5"_s
        << u"3:30:58.5"_s;
    QTest::newRow("pace, marathon in 3:30:00, two decimals cut")
        << 2 << pace(u"42.195"_s, kKm, u"3"_s, u"30"_s, u"0"_s) << ok << u"4分 58秒 .61"_s
        << u"0:04:58.61"_s;
    QTest::newRow("goal time in miles, multiplied in bracket order")
        << 1 << goal(u"26.2"_s, kMile, u"5"_s, u"0"_s) << ok << u"3時間 30分 49秒 .44"_s
        << u"3:30:49.44"_s;
    QTest::newRow("pace in metres, whole seconds end in a blank")
        << 2 << pace(u"5000"_s, kMetre, u"0"_s, u"20"_s, u"0"_s) << ok << u"4分 0秒 "_s
        << u"0:04:00"_s;
    QTest::newRow("picker entries with blanks and full-width digits")
        << 1 << goal(u"\uFF14\uFF12.195 "_s, kKm, u"5 "_s, u"0 "_s) << ok << u"3時間 30分 58秒 .5"_s
        << u"3:30:58.5"_s;
    QTest::newRow("value a hair below whole seconds rounds up")
        << 1 << goal(u"0.7"_s, kKm, u"3"_s, u"0"_s) << ok << u"2分 6秒 "_s << u"0:02:06"_s;
    QTest::newRow("fraction cut, trailing zero kept")
        << 1 << goal(u"42.195"_s, kKm, u"4"_s, u"59"_s) << ok << u"3時間 30分 16秒 .30"_s
        << u"3:30:16.30"_s;
    QTest::newRow("hours from the rounded value, not a hair below the hour")
        << 1 << goal(u"1.152"_s, kKm, u"52"_s, u"5"_s) << ok << u"1時間 0分 0秒 "_s << u"1:00:00"_s;
    QTest::newRow("hours never padded") << 1 << goal(u"100"_s, kKm, u"60"_s, u"0.25"_s) << ok
                                        << u"100時間 0分 25秒 "_s << u"100:00:25"_s;
    QTest::newRow("largest 32-bit second count")
        << 1 << goal(u"2147483647"_s, kKm, u"0"_s, u"1"_s) << ok << u"596523時間 14分 7秒 "_s
        << u"596523:14:07"_s;
    QTest::newRow("negative seconds: remainders follow the sign")
        << 1 << goal(u"1"_s, kKm, u"0"_s, u"-0.5"_s) << ok << u"-1時間 -1分 -1秒 .5"_s
        << u"-1:-1:-1.5"_s;
    QTest::newRow("negative minutes keep only their last two characters")
        << 1 << goal(u"1"_s, kKm, u"-10"_s, u"-30"_s) << ok << u"-1時間 -11分 -30秒 "_s
        << u"-1:11:30"_s;

    QTest::newRow("zero distance")
        << 1 << goal(u"0"_s, kKm, u"5"_s, u"0"_s) << zeroDistance << kZeroDistance << QString();
    QTest::newRow("zero distance with a point") << 2 << pace(u"0.0"_s, kKm, u"3"_s, u"0"_s, u"0"_s)
                                                << zeroDistance << kZeroDistance << QString();
    QTest::newRow("negative zero distance, no division by zero")
        << 2 << pace(u"-0"_s, kMetre, u"3"_s, u"0"_s, u"0"_s) << zeroDistance << kZeroDistance
        << QString();

    QTest::newRow("one second beyond 32 bits") << 1 << goal(u"2147483648"_s, kKm, u"0"_s, u"1"_s)
                                               << outOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("tiny distance, long goal time")
        << 2 << pace(u"0.001"_s, kKm, u"1000"_s, u"0"_s, u"0"_s) << outOfRange << kOutOfRange
        << kOutOfRange;
    QTest::newRow("pace overflows to minus infinity")
        << 1 << goal(u"1"_s, kKm, u"-1e300"_s, u"0"_s) << outOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("pace from a tiny distance beyond 32 bits")
        << 2 << pace(u"1e-300"_s, kKm, u"1"_s, u"0"_s, u"0"_s) << outOfRange << kOutOfRange
        << kOutOfRange;
    QTest::newRow("pace from a subnormal distance is infinite")
        << 2 << pace(u"1e-310"_s, kKm, u"1000"_s, u"0"_s, u"0"_s) << outOfRange << kOutOfRange
        << kOutOfRange;
    QTest::newRow("unknown unit") << 1 << goal(u"1"_s, u"KM"_s, u"5"_s, u"0"_s) << outOfRange
                                  << kOutOfRange << kOutOfRange;
}

void TestPace::calc()
{
    QFETCH(int, mode);
    QFETCH(QStringList, inputs);
    QFETCH(CalcStatus, status);
    QFETCH(QString, display);
    QFETCH(QString, compact);

    std::u16string texts[5];
    for (int i = 0; i < 5; ++i)
        texts[i] = inputs[i].toStdU16String();
    const CalcResult result = torvanu::calc(
        CalcInputs{texts[0], texts[1], texts[2], texts[3], texts[4]}, static_cast<Mode>(mode));
    QCOMPARE(result.status, status);
    QCOMPARE(qs(result.display), display);
    QCOMPARE(qs(result.compact), compact);
}

QTEST_APPLESS_MAIN(TestPace)

#include "tst_pace.moc"
