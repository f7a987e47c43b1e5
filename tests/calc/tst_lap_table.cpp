#include "calc/lap_table.h"

#include <QtTest>

using namespace torvanu;

class TestLapTable : public QObject
{
    Q_OBJECT

private slots:
    void fill_data();
    void fill();
    void rowsMatchTheTextCalculation_data();
    void rowsMatchTheTextCalculation();
};

namespace {

QString qs(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

struct Inputs
{
    std::u16string texts[5];

    Inputs(const QString& distance, const QString& unit, const QString& hours,
           const QString& minutes, const QString& seconds)
        : texts{distance.toStdU16String(), unit.toStdU16String(), hours.toStdU16String(),
                minutes.toStdU16String(), seconds.toStdU16String()}
    {
    }

    CalcInputs view() const { return {texts[0], texts[1], texts[2], texts[3], texts[4]}; }
};

// The pace tables used by both tests: mode, distance, unit, hours, minutes, seconds.
void addPaceColumns()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
}

} // namespace

void TestLapTable::fill_data()
{
    addPaceColumns();
    QTest::addColumn<QString>("paceText");
    QTest::addColumn<QString>("speedText");
    QTest::addColumn<QString>("split2");
    QTest::addColumn<QString>("split12");
    QTest::addColumn<QString>("split42");
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("full");

    const QString km = qs(kKmText);
    const QString out = qs(kOutOfRangeText);
    const QString noPace = qs(kNoPaceText);
    const QString zeroPace = QStringLiteral(" 1km =0分0秒");
    const QString zeroSpeed = QStringLiteral("時速 =0.0km");
    const QString zero = QStringLiteral("0:00:00");

    QTest::newRow("start-up pace 5:00")
        << 1 << ""
        << ""
        << ""
        << "5 "
        << "0" << QStringLiteral(" 1km =5分0秒") << QStringLiteral("時速 =12km") << "0:10:00"
        << "1:00:00"
        << "3:30:00"
        << "1:45:29"
        << "3:30:58";
    QTest::newRow("speed cut after two decimals")
        << 1 << ""
        << ""
        << ""
        << "4"
        << "30" << QStringLiteral(" 1km =4分30秒") << QStringLiteral("時速 =13.33km") << "0:09:00"
        << "0:54:00"
        << "3:09:00"
        << "1:34:56"
        << "3:09:52";
    QTest::newRow("fractional pace seconds") << 1 << ""
                                             << ""
                                             << ""
                                             << "5"
                                             << "20.5" << QStringLiteral(" 1km =5分20秒.5")
                                             << QStringLiteral("時速 =11.23km") << "0:10:41"
                                             << "1:04:06"
                                             << "3:44:21"
                                             << "1:52:41"
                                             << "3:45:23";
    QTest::newRow("pace of an hour per km")
        << 1 << ""
        << ""
        << ""
        << "60"
        << "0" << QStringLiteral(" 1km =60分0秒") << QStringLiteral("時速 =1km") << "2:00:00"
        << "12:00:00"
        << "42:00:00"
        << "21:05:51"
        << "42:11:42";
    QTest::newRow("zero pace") << 1 << ""
                               << ""
                               << ""
                               << "0"
                               << "0" << zeroPace << zeroSpeed << zero << zero << zero << zero
                               << zero;
    QTest::newRow("pace tab carries two decimals of the pace")
        << 2 << "42.195" << km << "3"
        << "30"
        << "0" << QStringLiteral(" 1km =4分58秒.61") << QStringLiteral("時速 =12.05km") << "0:09:57"
        << "0:59:43"
        << "3:29:01"
        << "1:44:59"
        << "3:29:59";
    QTest::newRow("pace tab in metres")
        << 2 << "5000" << qs(kMetreText) << "0"
        << "20"
        << "0" << QStringLiteral(" 1km =4分0秒") << QStringLiteral("時速 =15km") << "0:08:00"
        << "0:48:00"
        << "2:48:00"
        << "1:24:23"
        << "2:48:46";
    QTest::newRow("pace tab in miles")
        << 2 << "26.2" << qs(kMileText) << "4"
        << "0"
        << "0" << QStringLiteral(" 1km =5分41秒.51") << QStringLiteral("時速 =10.54km") << "0:11:23"
        << "1:08:18"
        << "3:59:03"
        << "2:00:05"
        << "4:00:10";
    QTest::newRow("pace tab with zero distance shows the zero pace")
        << 2 << "0" << km << "4"
        << "0"
        << "0" << zeroPace << zeroSpeed << zero << zero << zero << zero << zero;
    QTest::newRow("pace tab out of range fills everything with the out-of-range text")
        << 2 << "0.001" << km << "1000"
        << "0"
        << "0" << noPace << noPace << out << out << out << out << out;
    QTest::newRow("pace beyond 32 bits cannot be split")
        << 1 << ""
        << ""
        << ""
        << "-1e300"
        << "0" << noPace << noPace << out << out << out << out << out;
    QTest::newRow("only the rows beyond 32 bits are out of range")
        << 1 << ""
        << ""
        << ""
        << "-1000000"
        << "0" << QStringLiteral(" 1km =-1000000分0秒") << QStringLiteral("時速 =-0.00km")
        << "-33334:20:00"
        << "-200000:00:00" << out << "-351625:00:00" << out;
    QTest::newRow("negative pace gets a speed from the pace the rows run at")
        << 1 << ""
        << ""
        << ""
        << "-0.5"
        << "0" << QStringLiteral(" 1km =-1分-30秒") << QStringLiteral("時速 =-40km") << "-1:-3:00"
        << "-1:18:00"
        << "-2:-3:00"
        << "-1:32:39"
        << "-2:-4:18";
}

void TestLapTable::fill()
{
    QFETCH(int, mode);
    QFETCH(QString, distance);
    QFETCH(QString, unit);
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, paceText);
    QFETCH(QString, speedText);
    QFETCH(QString, split2);
    QFETCH(QString, split12);
    QFETCH(QString, split42);
    QFETCH(QString, half);
    QFETCH(QString, full);

    const Inputs inputs(distance, unit, hours, minutes, seconds);
    const LapTable table = fullMarathonMatrix(inputs.view(), static_cast<Mode>(mode));
    QCOMPARE(qs(table.paceText), paceText);
    QCOMPARE(qs(table.speedText), speedText);
    QCOMPARE(qs(table.splits[1]), split2);
    QCOMPARE(qs(table.splits[11]), split12);
    QCOMPARE(qs(table.splits[41]), split42);
    QCOMPARE(qs(table.half), half);
    QCOMPARE(qs(table.full), full);
}

void TestLapTable::rowsMatchTheTextCalculation_data()
{
    addPaceColumns();
    QTest::addColumn<QString>("paceMinutes");
    QTest::addColumn<QString>("paceSeconds");

    QTest::newRow("fractional seconds") << 1 << ""
                                        << ""
                                        << ""
                                        << "4"
                                        << "59.99"
                                        << "4"
                                        << "59.99";
    QTest::newRow("seconds carried over into minutes") << 1 << ""
                                                       << ""
                                                       << ""
                                                       << "3.5"
                                                       << "45.25"
                                                       << "4"
                                                       << "15.25";
    QTest::newRow("pace from the pace tab") << 2 << "42.195" << qs(kKmText) << "3"
                                            << "30"
                                            << "0"
                                            << "4"
                                            << "58.61";
}

// The rows take a faster road than one text calculation per row; it must not show anything
// a text calculation with the pace texts would not.
void TestLapTable::rowsMatchTheTextCalculation()
{
    QFETCH(int, mode);
    QFETCH(QString, distance);
    QFETCH(QString, unit);
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, paceMinutes);
    QFETCH(QString, paceSeconds);

    const Inputs inputs(distance, unit, hours, minutes, seconds);
    const LapTable table = fullMarathonMatrix(inputs.view(), static_cast<Mode>(mode));
    const auto textSplit = [&](const QString& km) {
        const Inputs row(km, qs(kKmText), QStringLiteral("0"), paceMinutes, paceSeconds);
        const QString compact = qs(calc(row.view(), Mode::GoalTime).compact);
        return compact.left(compact.indexOf(u'.'));
    };
    for (int k = 1; k <= kLapRows; ++k)
        QCOMPARE(qs(table.splits[static_cast<std::size_t>(k - 1)]), textSplit(QString::number(k)));
    QCOMPARE(qs(table.half), textSplit(QStringLiteral("21.0975")));
    QCOMPARE(qs(table.full), textSplit(QStringLiteral("42.195")));
}

QTEST_APPLESS_MAIN(TestLapTable)

#include "tst_lap_table.moc"
