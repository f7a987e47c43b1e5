#include "calc/lap_table.h"
#include "calc/number_text.h"
#include "calc_inputs.h"
#include "qt_text.h"

#include <QtTest>

#include <cmath>

using namespace torvanu;
using namespace Qt::StringLiterals;

class TestLapTable : public QObject
{
    Q_OBJECT

private slots:
    void fill_data();
    void fill();
    void rowsMatchTheTextCalculation_data();
    void rowsMatchTheTextCalculation();
    void paceAsTheResultBoxShowsIt_data();
    void paceAsTheResultBoxShowsIt();
};

namespace {

// The goal-time tab reads only the pace pickers.
QStringList pace(const QString& minutes, const QString& seconds)
{
    return {QString(), QString(), QString(), minutes, seconds};
}

} // namespace

void TestLapTable::fill_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("inputs");
    // pace line, speed line, splits at 2, 12 and 42 km, half, full
    QTest::addColumn<QStringList>("shown");

    const QString km = qs(kKmText);
    const QString out = qs(kOutOfRangeText);
    const QString noPace = qs(kNoPaceText);
    const QString zero = u"0:00:00"_s;
    const QStringList zeroPace{u" 1km =0分0秒"_s, u"時速 =0.0km"_s, zero, zero, zero, zero, zero};
    const QStringList noSplits{noPace, noPace, out, out, out, out, out};

    QTest::newRow("start-up pace 5:00")
        << 1 << pace(u"5 "_s, u"0"_s)
        << QStringList{u" 1km =5分0秒"_s, u"時速 =12km"_s, u"0:10:00"_s, u"1:00:00"_s,
                       u"3:30:00"_s,      u"1:45:29"_s,    u"3:30:58"_s};
    QTest::newRow("speed cut after two decimals")
        << 1 << pace(u"4"_s, u"30"_s)
        << QStringList{u" 1km =4分30秒"_s, u"時速 =13.33km"_s, u"0:09:00"_s, u"0:54:00"_s,
                       u"3:09:00"_s,       u"1:34:56"_s,       u"3:09:52"_s};
    QTest::newRow("fractional pace seconds")
        << 1 << pace(u"5"_s, u"20.5"_s)
        << QStringList{u" 1km =5分20秒.5"_s, u"時速 =11.23km"_s, u"0:10:41"_s, u"1:04:06"_s,
                       u"3:44:21"_s,         u"1:52:41"_s,       u"3:45:23"_s};
    QTest::newRow("pace of an hour per km")
        << 1 << pace(u"60"_s, u"0"_s)
        << QStringList{u" 1km =60分0秒"_s, u"時速 =1km"_s, u"2:00:00"_s, u"12:00:00"_s,
                       u"42:00:00"_s,      u"21:05:51"_s,  u"42:11:42"_s};
    QTest::newRow("zero pace") << 1 << pace(u"0"_s, u"0"_s) << zeroPace;
    QTest::newRow("pace tab carries two decimals of the pace")
        << 2 << QStringList{u"42.195"_s, km, u"3"_s, u"30"_s, u"0"_s}
        << QStringList{u" 1km =4分58秒.61"_s, u"時速 =12.05km"_s, u"0:09:57"_s, u"0:59:43"_s,
                       u"3:29:01"_s,          u"1:44:59"_s,       u"3:29:59"_s};
    QTest::newRow("pace tab in metres")
        << 2 << QStringList{u"5000"_s, qs(kMetreText), u"0"_s, u"20"_s, u"0"_s}
        << QStringList{u" 1km =4分0秒"_s, u"時速 =15km"_s, u"0:08:00"_s, u"0:48:00"_s,
                       u"2:48:00"_s,      u"1:24:23"_s,    u"2:48:46"_s};
    QTest::newRow("pace tab in miles")
        << 2 << QStringList{u"26.2"_s, qs(kMileText), u"4"_s, u"0"_s, u"0"_s}
        << QStringList{u" 1km =5分41秒.51"_s, u"時速 =10.54km"_s, u"0:11:23"_s, u"1:08:18"_s,
                       u"3:59:03"_s,          u"2:00:05"_s,       u"4:00:10"_s};
    QTest::newRow("pace tab with zero distance shows the zero pace")
        << 2 << QStringList{u"0"_s, km, u"4"_s, u"0"_s, u"0"_s} << zeroPace;
    QTest::newRow("pace tab out of range fills everything with the out-of-range text")
        << 2 << QStringList{u"0.001"_s, km, u"1000"_s, u"0"_s, u"0"_s} << noSplits;
    QTest::newRow("pace beyond 32 bits cannot be split")
        << 1 << pace(u"-1e300"_s, u"0"_s) << noSplits;
    QTest::newRow("only the rows beyond 32 bits are out of range")
        << 1 << pace(u"-1000000"_s, u"0"_s)
        << QStringList{u" 1km =-1000000分0秒"_s,
                       u"時速 =-0.00km"_s,
                       u"-33334:20:00"_s,
                       u"-200000:00:00"_s,
                       out,
                       u"-351625:00:00"_s,
                       out};
    QTest::newRow("negative pace gets a speed from the pace the rows run at")
        << 1 << pace(u"-0.5"_s, u"0"_s)
        << QStringList{u" 1km =-1分-30秒"_s, u"時速 =-40km"_s, u"-1:-3:00"_s, u"-1:18:00"_s,
                       u"-2:-3:00"_s,        u"-1:32:39"_s,    u"-2:-4:18"_s};
    // 4.1 min is 245.99999999999997 s in binary; the result box says 2時間 52分 59秒 .97.
    QTest::newRow("decimal minutes just below a whole second run at the shown pace")
        << 1 << pace(u"4.1"_s, u"0"_s)
        << QStringList{u" 1km =4分6秒"_s, u"時速 =14.63km"_s, u"0:08:12"_s, u"0:49:12"_s,
                       u"2:52:12"_s,      u"1:26:29"_s,       u"2:52:59"_s};
    QTest::newRow("decimal minutes just below a whole minute")
        << 1 << pace(u"8.45"_s, u"0"_s)
        << QStringList{u" 1km =8分27秒"_s, u"時速 =7.10km"_s, u"0:16:54"_s, u"1:41:24"_s,
                       u"5:54:54"_s,       u"2:58:16"_s,      u"5:56:32"_s};
}

void TestLapTable::fill()
{
    QFETCH(int, mode);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, shown);

    const LapTable table = fullMarathonMatrix(Inputs(inputs).view(), static_cast<Mode>(mode));
    const QStringList texts{qs(table.paceText),   qs(table.speedText),  qs(table.splits[1]),
                            qs(table.splits[11]), qs(table.splits[41]), qs(table.half),
                            qs(table.full)};
    QCOMPARE(texts, shown);
}

void TestLapTable::rowsMatchTheTextCalculation_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("paceMinutes");
    QTest::addColumn<QString>("paceSeconds");

    QTest::newRow("fractional seconds") << 1 << pace(u"4"_s, u"59.99"_s) << u"4"_s << u"59.99"_s;
    QTest::newRow("seconds carried over into minutes")
        << 1 << pace(u"3.5"_s, u"45.25"_s) << u"4"_s << u"15.25"_s;
    QTest::newRow("pace from the pace tab")
        << 2 << QStringList{u"42.195"_s, qs(kKmText), u"3"_s, u"30"_s, u"0"_s} << u"4"_s
        << u"58.61"_s;
}

// The rows take a faster road than one text calculation per row; it must not show anything
// a text calculation with the pace texts would not.
void TestLapTable::rowsMatchTheTextCalculation()
{
    QFETCH(int, mode);
    QFETCH(QStringList, inputs);
    QFETCH(QString, paceMinutes);
    QFETCH(QString, paceSeconds);

    const LapTable table = fullMarathonMatrix(Inputs(inputs).view(), static_cast<Mode>(mode));
    const auto textSplit = [&](const QString& km) {
        const Inputs row({km, qs(kKmText), u"0"_s, paceMinutes, paceSeconds});
        const QString compact = qs(calc(row.view(), Mode::GoalTime).compact);
        return compact.left(compact.indexOf(u'.'));
    };
    for (int k = 1; k <= kLapRows; ++k)
        QCOMPARE(qs(table.splits[static_cast<std::size_t>(k - 1)]), textSplit(QString::number(k)));
    QCOMPARE(qs(table.half), textSplit(u"21.0975"_s));
    QCOMPARE(qs(table.full), textSplit(u"42.195"_s));
}

namespace {

// The pace texts as the table split them before it read the pace's number text: the whole
// seconds were taken from the binary value. Kept to show that only the paces whose binary
// value lies below its own text changed.
std::pair<QString, QString> formerPaceTexts(double pace)
{
    QString minutes = qs(numberText(std::floor(pace / 60.0)));
    QString seconds = qs(numberText(std::fmod(std::floor(pace), 60.0)));
    const QString text = qs(numberText(pace));
    if (const qsizetype dot = text.indexOf(u'.'); dot >= 0)
        seconds += text.mid(dot);
    return {minutes, seconds};
}

} // namespace

void TestLapTable::paceAsTheResultBoxShowsIt_data()
{
    QTest::addColumn<int>("minuteSteps"); // minutes from 0 in steps of 1 / minuteSteps
    QTest::addColumn<int>("minuteCount");
    QTest::addColumn<QStringList>("seconds");

    QTest::newRow("tenths of a minute to 20 with whole seconds")
        << 10 << 200 << QStringList{u"0"_s, u"1"_s, u"30"_s, u"59"_s};
    QTest::newRow("hundredths of a minute to 12 with fractional seconds")
        << 100 << 1200 << QStringList{u"0"_s, u"0.5"_s, u"12.34"_s, u"59.99"_s};
    QTest::newRow("thousandths of a minute to 3")
        << 1000 << 3000 << QStringList{u"0"_s, u"7.125"_s};
    QTest::newRow("negative tenths of a minute") << -10 << 100 << QStringList{u"0"_s, u"15"_s};
}

// Every pace either keeps the texts the table always gave it, or was one the binary value
// split below its own number text, and now runs at that text, as the result box does.
void TestLapTable::paceAsTheResultBoxShowsIt()
{
    QFETCH(int, minuteSteps);
    QFETCH(int, minuteCount);
    QFETCH(QStringList, seconds);

    int changed = 0;
    for (int step = 0; step <= minuteCount; ++step) {
        const QString minutes = QString::number(static_cast<double>(step) / minuteSteps);
        for (const QString& second : seconds) {
            const Inputs inputs(pace(minutes, second));
            const std::optional<LapPace> lap = lapPace(inputs.view(), Mode::GoalTime);
            QVERIFY(lap);
            const double value = minutes.toDouble() * 60.0 + second.toDouble();
            const auto [formerMinutes, formerSeconds] = formerPaceTexts(value);
            if (qs(lap->minutesText) == formerMinutes && qs(lap->secondsText) == formerSeconds)
                continue;
            ++changed;
            const QString context = minutes + u" min "_s + second + u" s"_s;
            const QString shown = qs(numberText(value));
            // Only a pace whose binary value lies below its own text's whole second changed.
            QVERIFY2(std::floor(value) != std::floor(shown.toDouble()), qPrintable(context));
            // A negative pace splits with remainders that keep its sign; it has no text to
            // agree with.
            if (value >= 0.0)
                QVERIFY2(qs(numberText(lap->secondsPerKm())) == shown, qPrintable(context));
        }
    }
    // The sweeps hold paces the binary value splits wrongly (4.1, 8.2, 8.45), but only few.
    if (minuteSteps > 0)
        QVERIFY(changed > 0);
    QVERIFY(changed < minuteCount / 10 + 1);
}

QTEST_APPLESS_MAIN(TestLapTable)

#include "tst_lap_table.moc"
