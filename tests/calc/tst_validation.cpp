#include "calc/validation.h"
#include "qt_text.h"

#include <QtTest>

#include <vector>

using namespace torvanu;
using namespace Qt::StringLiterals;

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void checkInputs_data();
    void checkInputs();
    void checkRecordDistance_data();
    void checkRecordDistance();
};

void TestValidation::checkInputs_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("fill");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("message");

    const QString km = qs(kKmText);
    const QString metre = qs(kMetreText);
    const QString mile = qs(kMileText);
    const QString ok;

    QTest::newRow("goal tab: plain inputs pass")
        << 1 << QStringList{u"42.195"_s, u"5 "_s, u"0"_s} << km << -1 << -1 << ok;
    QTest::newRow("goal tab: empty distance filled before anything else")
        << 1 << QStringList{u""_s, u"x"_s, u""_s} << km << 0 << 0 << ok;
    QTest::newRow("goal tab: empty seconds filled before a bad distance")
        << 1 << QStringList{u"abc"_s, u"5"_s, u""_s} << km << 2 << 2 << ok;
    QTest::newRow("goal tab: blank only is not empty")
        << 1 << QStringList{u"42.195"_s, u" "_s, u"0"_s} << km << -1 << 1
        << qs(kPaceMinutesNotNumericMessage);
    QTest::newRow("goal tab: first non-number wins")
        << 1 << QStringList{u"1,000"_s, u"x"_s, u"y"_s} << km << -1 << 0
        << qs(kDistanceNotNumericMessage);
    QTest::newRow("goal tab: non-number before an over-limit distance")
        << 1 << QStringList{u"20000"_s, u"5"_s, u"s"_s} << km << -1 << 2
        << qs(kPaceSecondsNotNumericMessage);
    QTest::newRow("goal tab: 10000 km is the limit")
        << 1 << QStringList{u"10000"_s, u"5"_s, u"0"_s} << km << -1 << -1 << ok;
    QTest::newRow("goal tab: above 10000 km")
        << 1 << QStringList{u"10000.5"_s, u"5"_s, u"0"_s} << km << -1 << 0
        << qs(u"目標距離は10000km以下の数値を入力してください。");
    QTest::newRow("goal tab: above 1000000 m")
        << 1 << QStringList{u"1000001"_s, u"5"_s, u"0"_s} << metre << -1 << 0
        << qs(u"目標距離は1000000m以下の数値を入力してください。");
    QTest::newRow("goal tab: above 10000 miles")
        << 1 << QStringList{u"20000"_s, u"5"_s, u"0"_s} << mile << -1 << 0
        << qs(u"目標距離は10000ﾏｲﾙ以下の数値を入力してください。");
    QTest::newRow("goal tab: unit matched exactly, no limit otherwise")
        << 1 << QStringList{u"20000"_s, u"5"_s, u"0"_s} << QStringLiteral("KM") << -1 << -1 << ok;
    QTest::newRow("goal tab: distance limit before pace limits")
        << 1 << QStringList{u"20000"_s, u"2000"_s, u"60"_s} << km << -1 << 0
        << qs(u"目標距離は10000km以下の数値を入力してください。");
    QTest::newRow("goal tab: 1000 pace minutes and 59 seconds pass")
        << 1 << QStringList{u"1"_s, u"1000"_s, u"59"_s} << km << -1 << -1 << ok;
    QTest::newRow("goal tab: above 1000 pace minutes")
        << 1 << QStringList{u"1"_s, u"1000.01"_s, u"60"_s} << km << -1 << 1
        << qs(kPaceMinutesTooLargeMessage);
    QTest::newRow("goal tab: above 59 pace seconds")
        << 1 << QStringList{u"1"_s, u"5"_s, u"59.5"_s} << km << -1 << 2
        << qs(kPaceSecondsTooLargeMessage);
    QTest::newRow("goal tab: negatives and fractions pass")
        << 1 << QStringList{u"-3"_s, u"-1e300"_s, u"30.5"_s} << km << -1 << -1 << ok;

    QTest::newRow("pace tab: empty goal seconds filled")
        << 2 << QStringList{u"42.195"_s, u"3"_s, u"30"_s, u""_s} << km << 3 << 3 << ok;
    QTest::newRow("pace tab: bad hours") << 2 << QStringList{u"42.195"_s, u"h"_s, u"m"_s, u"s"_s}
                                         << km << -1 << 1 << qs(kGoalHoursNotNumericMessage);
    QTest::newRow("pace tab: bad minutes") << 2 << QStringList{u"42.195"_s, u"3"_s, u"m"_s, u"s"_s}
                                           << km << -1 << 2 << qs(kGoalMinutesNotNumericMessage);
    QTest::newRow("pace tab: bad seconds") << 2 << QStringList{u"42.195"_s, u"3"_s, u"30"_s, u"s"_s}
                                           << km << -1 << 3 << qs(kGoalSecondsNotNumericMessage);
    QTest::newRow("pace tab: shares the distance message")
        << 2 << QStringList{u"10001"_s, u"3"_s, u"30"_s, u"0"_s} << mile << -1 << 0
        << qs(u"目標距離は10000ﾏｲﾙ以下の数値を入力してください。");
    QTest::newRow("pace tab: 1000 hours and 59 minutes and seconds pass")
        << 2 << QStringList{u"1"_s, u"1000"_s, u"59"_s, u"59"_s} << km << -1 << -1 << ok;
    QTest::newRow("pace tab: above 1000 hours")
        << 2 << QStringList{u"1"_s, u"1001"_s, u"60"_s, u"60"_s} << km << -1 << 1
        << qs(kGoalHoursTooLargeMessage);
    QTest::newRow("pace tab: above 59 minutes")
        << 2 << QStringList{u"1"_s, u"3"_s, u"60"_s, u"60"_s} << km << -1 << 2
        << qs(kGoalMinutesTooLargeMessage);
    QTest::newRow("pace tab: above 59 seconds") << 2 << QStringList{u"1"_s, u"3"_s, u"0"_s, u"60"_s}
                                                << km << -1 << 3 << qs(kGoalSecondsTooLargeMessage);
}

void TestValidation::checkInputs()
{
    QFETCH(int, mode);
    QFETCH(QStringList, texts);
    QFETCH(QString, unit);
    QFETCH(int, fill);
    QFETCH(int, focus);
    QFETCH(QString, message);

    std::vector<std::u16string> owned;
    for (const QString& text : texts)
        owned.push_back(text.toStdU16String());
    const std::vector<std::u16string_view> views(owned.begin(), owned.end());
    const std::u16string unitText = unit.toStdU16String();

    const CheckOutcome outcome = torvanu::checkInputs(static_cast<Mode>(mode), views, unitText);
    QCOMPARE(outcome.fill, fill);
    QCOMPARE(outcome.focus, focus);
    QCOMPARE(qs(outcome.message), message);
    QCOMPARE(outcome.accepted(), message.isEmpty());
}

void TestValidation::checkRecordDistance_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("fill");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("message");

    const QString km = qs(kKmText);
    const QString ok;

    QTest::newRow("empty is filled and accepted") << "" << km << 0 << 0 << ok;
    QTest::newRow("preset with a blank") << "5 " << km << -1 << -1 << ok;
    QTest::newRow("not a number") << " " << km << -1 << 0 << qs(kRecordDistanceNotNumericMessage);
    QTest::newRow("10000 km passes") << "10000" << km << -1 << -1 << ok;
    QTest::newRow("above 10000 km")
        << "10000.1" << km << -1 << 0 << qs(u"距離は10000km以下の数値を入力してください。");
    QTest::newRow("above 1000000 m") << "1e7" << qs(kMetreText) << -1 << 0
                                     << qs(u"距離は1000000m以下の数値を入力してください。");
    QTest::newRow("above 10000 miles") << "10001" << qs(kMileText) << -1 << 0
                                       << qs(u"距離は10000ﾏｲﾙ以下の数値を入力してください。");
}

void TestValidation::checkRecordDistance()
{
    QFETCH(QString, distance);
    QFETCH(QString, unit);
    QFETCH(int, fill);
    QFETCH(int, focus);
    QFETCH(QString, message);

    const std::u16string distanceText = distance.toStdU16String();
    const std::u16string unitText = unit.toStdU16String();
    const CheckOutcome outcome = torvanu::checkRecordDistance(distanceText, unitText);
    QCOMPARE(outcome.fill, fill);
    QCOMPARE(outcome.focus, focus);
    QCOMPARE(qs(outcome.message), message);
}

QTEST_APPLESS_MAIN(TestValidation)

#include "tst_validation.moc"
