#include "calc/pace.h"

#include <QtTest>

using namespace torvanu;

class TestPace : public QObject
{
    Q_OBJECT

private slots:
    void calc_data();
    void calc();
};

namespace {

const QString kKm = QString::fromStdU16String(std::u16string(kKmText));
const QString kMetre = QString::fromStdU16String(std::u16string(kMetreText));
const QString kMile = QString::fromStdU16String(std::u16string(kMileText));
const QString kOutOfRange = QString::fromStdU16String(std::u16string(kOutOfRangeText));
const QString kZeroDistance = QString::fromStdU16String(std::u16string(kZeroDistanceText));

} // namespace

void TestPace::calc_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<CalcStatus>("status");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("compact");

    const QString none; // mode 1 has no hours picker

    QTest::newRow("goal time, marathon at 5:00, half second kept")
        << 1 << "42.195" << kKm << none << "5"
        << "0" << CalcStatus::Ok << QStringLiteral("3時間 30分 58秒 .5") << "3:30:58.5";
    QTest::newRow("pace, marathon in 3:30:00, two decimals cut")
        << 2 << "42.195" << kKm << "3"
        << "30"
        << "0" << CalcStatus::Ok << QStringLiteral("4分 58秒 .61") << "0:04:58.61";
    QTest::newRow("goal time in miles, multiplied in bracket order")
        << 1 << "26.2" << kMile << none << "5"
        << "0" << CalcStatus::Ok << QStringLiteral("3時間 30分 49秒 .44") << "3:30:49.44";
    QTest::newRow("pace in metres, whole seconds end in a blank")
        << 2 << "5000" << kMetre << "0"
        << "20"
        << "0" << CalcStatus::Ok << QStringLiteral("4分 0秒 ") << "0:04:00";
    QTest::newRow("picker entries with blanks and full-width digits")
        << 1 << QStringLiteral("\uFF14\uFF12.195 ") << kKm << none << "5 "
        << "0 " << CalcStatus::Ok << QStringLiteral("3時間 30分 58秒 .5") << "3:30:58.5";
    QTest::newRow("value a hair below whole seconds rounds up")
        << 1 << "0.7" << kKm << none << "3"
        << "0" << CalcStatus::Ok << QStringLiteral("2分 6秒 ") << "0:02:06";
    QTest::newRow("fraction cut, trailing zero kept")
        << 1 << "42.195" << kKm << none << "4"
        << "59" << CalcStatus::Ok << QStringLiteral("3時間 30分 16秒 .30") << "3:30:16.30";
    QTest::newRow("hours from the rounded value, not a hair below the hour")
        << 1 << "1.152" << kKm << none << "52"
        << "5" << CalcStatus::Ok << QStringLiteral("1時間 0分 0秒 ") << "1:00:00";
    QTest::newRow("hours never padded")
        << 1 << "100" << kKm << none << "60"
        << "0.25" << CalcStatus::Ok << QStringLiteral("100時間 0分 25秒 ") << "100:00:25";
    QTest::newRow("largest 32-bit second count")
        << 1 << "2147483647" << kKm << none << "0"
        << "1" << CalcStatus::Ok << QStringLiteral("596523時間 14分 7秒 ") << "596523:14:07";
    QTest::newRow("negative seconds: remainders follow the sign")
        << 1 << "1" << kKm << none << "0"
        << "-0.5" << CalcStatus::Ok << QStringLiteral("-1時間 -1分 -1秒 .5") << "-1:-1:-1.5";
    QTest::newRow("negative minutes keep only their last two characters")
        << 1 << "1" << kKm << none << "-10"
        << "-30" << CalcStatus::Ok << QStringLiteral("-1時間 -11分 -30秒 ") << "-1:11:30";

    QTest::newRow("zero distance") << 1 << "0" << kKm << none << "5"
                                   << "0" << CalcStatus::ZeroDistance << kZeroDistance << QString();
    QTest::newRow("zero distance with a point")
        << 2 << "0.0" << kKm << "3"
        << "0"
        << "0" << CalcStatus::ZeroDistance << kZeroDistance << QString();
    QTest::newRow("negative zero distance, no division by zero")
        << 2 << "-0" << kMetre << "3"
        << "0"
        << "0" << CalcStatus::ZeroDistance << kZeroDistance << QString();

    QTest::newRow("one second beyond 32 bits")
        << 1 << "2147483648" << kKm << none << "0"
        << "1" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("tiny distance, long goal time")
        << 2 << "0.001" << kKm << "1000"
        << "0"
        << "0" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("pace overflows to minus infinity")
        << 1 << "1" << kKm << none << "-1e300"
        << "0" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("pace from a tiny distance beyond 32 bits")
        << 2 << "1e-300" << kKm << "1"
        << "0"
        << "0" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("pace from a subnormal distance is infinite")
        << 2 << "1e-310" << kKm << "1000"
        << "0"
        << "0" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
    QTest::newRow("unknown unit") << 1 << "1" << QStringLiteral("KM") << none << "5"
                                  << "0" << CalcStatus::OutOfRange << kOutOfRange << kOutOfRange;
}

void TestPace::calc()
{
    QFETCH(int, mode);
    QFETCH(QString, distance);
    QFETCH(QString, unit);
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(CalcStatus, status);
    QFETCH(QString, display);
    QFETCH(QString, compact);

    const std::u16string texts[] = {distance.toStdU16String(), unit.toStdU16String(),
                                    hours.toStdU16String(), minutes.toStdU16String(),
                                    seconds.toStdU16String()};
    const CalcResult result = torvanu::calc(
        CalcInputs{texts[0], texts[1], texts[2], texts[3], texts[4]}, static_cast<Mode>(mode));
    QCOMPARE(result.status, status);
    QCOMPARE(QString::fromStdU16String(result.display), display);
    QCOMPARE(QString::fromStdU16String(result.compact), compact);
}

QTEST_APPLESS_MAIN(TestPace)

#include "tst_pace.moc"
