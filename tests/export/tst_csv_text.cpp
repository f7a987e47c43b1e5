#include "export/csv_text.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;
using torvanu::CsvPanel;
using torvanu::CsvScreen;
using torvanu::csvText;

namespace {

constexpr QStringView kPaceHeader = u"[1kmペース算出結果]";
constexpr QStringView kLapHeader = u"[フルマラソン換算] ";
constexpr QStringView kDistanceField = u"目標距離,";
constexpr QStringView kPaceField = u"1kmのﾍﾟｰｽ,";
constexpr QStringView kGoalField = u"ゴール時間,";
constexpr QStringView kSpeedField = u"時速,";
constexpr QStringView kSpeedPrefix = u"時速 =";

QString line(QStringView field, const QString& value)
{
    return field.toString() + value;
}

// What the window shows right after start, with the goal-time tab's pace at 5:00 per km. The
// whole start-up file is checked line by line through the window (tests/main_window); these
// tests vary one echo at a time.
CsvScreen startUpScreen()
{
    CsvScreen screen;
    screen.panel = CsvPanel::GoalTime;
    screen.goalDistance = u"42.195"_s;
    screen.goalUnit = u"km"_s;
    screen.paceMinutes = u"5 "_s;
    screen.paceSeconds = u"0"_s;
    screen.goalTimeDisplay = u"3時間 30分 58秒 .5"_s;
    screen.speed = kSpeedPrefix.toString() + u"12km"_s;
    screen.halfTime = u"1:45:29"_s;
    screen.fullTime = u"3:30:58"_s;
    return screen;
}

CsvScreen paceScreen(const QString& hours, const QString& minutes, const QString& seconds)
{
    CsvScreen screen = startUpScreen();
    screen.panel = CsvPanel::Pace;
    screen.paceDistance = u"42.195"_s;
    screen.paceUnit = u"km"_s;
    screen.goalHours = hours;
    screen.goalMinutes = minutes;
    screen.goalSeconds = seconds;
    screen.paceDisplay = u"4分 58秒 .61"_s;
    return screen;
}

QStringList linesOf(const CsvScreen& screen)
{
    const std::optional<QString> text = csvText(screen);
    return text ? text->split(u"\r\n"_s) : QStringList{u"<no text>"_s};
}

} // namespace

class TstCsvText : public QObject
{
    Q_OBJECT

private slots:
    void paceTabSection();
    void paceEcho_data();
    void paceEcho();
    void goalTimeEcho_data();
    void goalTimeEcho();
    void hoursNotANumber_data();
    void hoursNotANumber();
};

void TstCsvText::paceTabSection()
{
    CsvScreen screen = paceScreen(u"3 "_s, u"30"_s, u"0"_s);
    screen.paceDistance = u"5 "_s; // a list entry keeps its blank
    screen.speed = kSpeedPrefix.toString() + u"12.05km"_s;

    const QStringList lines = linesOf(screen);

    const QStringList head{kPaceHeader.toString(),
                           line(kDistanceField, u"5 km"_s),
                           line(kGoalField, u"3:30:00"_s),
                           line(kPaceField, u"4分 58秒 .61"_s),
                           line(kSpeedField, u"12.05km"_s),
                           QString(),
                           kLapHeader.toString()};
    QCOMPARE(lines.mid(0, head.size()), head);
    // 51 lines, each with its own CR LF: the last piece after splitting is empty.
    QCOMPARE(lines.size(), 52);
    QCOMPARE(lines.value(50), u"フル,3:30:58"_s);
    QCOMPARE(lines.last(), QString());
}

void TstCsvText::paceEcho_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("echo");

    QTest::newRow("list entries 5 and 0") << u"5 "_s << u"0"_s << u"05:00"_s;
    QTest::newRow("typed 5 as the list entry") << u"5"_s << u"0"_s << u"05:00"_s;
    QTest::newRow("list entries 4 and 5") << u"4 "_s << u"5 "_s << u"04:05"_s;
    QTest::newRow("two digits unchanged") << u"12"_s << u"30"_s << u"12:30"_s;
    QTest::newRow("leading blank removed") << u" 7"_s << u" 9"_s << u"07:09"_s;
    QTest::newRow("empty gives 0") << u"5 "_s << QString() << u"05:0"_s;
    QTest::newRow("blanks only give 0") << u"  "_s << u"0"_s << u"0:00"_s;
    QTest::newRow("ideographic blank removed") << u"5\u3000"_s << u"\u30000"_s << u"05:00"_s;
    QTest::newRow("long minutes as typed") << u"100"_s << u"0"_s << u"100:00"_s;
    QTest::newRow("seconds with fraction as typed") << u"5 "_s << u"20.5"_s << u"05:20.5"_s;
}

void TstCsvText::paceEcho()
{
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, echo);
    CsvScreen screen = startUpScreen();
    screen.paceMinutes = minutes;
    screen.paceSeconds = seconds;

    QCOMPARE(linesOf(screen).value(2), line(kPaceField, echo));
}

void TstCsvText::goalTimeEcho_data()
{
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("echo");

    QTest::newRow("list entries 3, 30, 0") << u"3 "_s << u"30"_s << u"0"_s << u"3:30:00"_s;
    QTest::newRow("zero hours left out") << u"0"_s << u"45"_s << u"0"_s << u"45:00"_s;
    QTest::newRow("zero list entry left out") << u"0 "_s << u"45"_s << u"0"_s << u"45:00"_s;
    QTest::newRow("zero with fraction left out") << u"0.0"_s << u"5 "_s << u"9 "_s << u"05:09"_s;
    QTest::newRow("hours not padded") << u"12"_s << u"5 "_s << u"9 "_s << u"12:05:09"_s;
    QTest::newRow("hours blanks removed") << u" 2 "_s << u"0"_s << u"0"_s << u"2:00:00"_s;
    QTest::newRow("ideographic blanks removed from hours")
        << u"\u30003\u3000"_s << u"30"_s << u"0"_s << u"3:30:00"_s;
    QTest::newRow("fractional hours as typed") << u"0.5"_s << u"0"_s << u"0"_s << u"0.5:00:00"_s;
}

void TstCsvText::goalTimeEcho()
{
    QFETCH(QString, hours);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, echo);

    QCOMPARE(linesOf(paceScreen(hours, minutes, seconds)).value(2), line(kGoalField, echo));
}

void TstCsvText::hoursNotANumber_data()
{
    QTest::addColumn<CsvPanel>("panel");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<bool>("refused");

    QTest::newRow("empty hours on the pace tab") << CsvPanel::Pace << QString() << true;
    QTest::newRow("blank hours on the pace tab") << CsvPanel::Pace << u" "_s << true;
    QTest::newRow("word as hours on the pace tab") << CsvPanel::Pace << u"三"_s << true;
    QTest::newRow("hours not read on the goal-time tab") << CsvPanel::GoalTime << u"三"_s << false;
}

void TstCsvText::hoursNotANumber()
{
    QFETCH(CsvPanel, panel);
    QFETCH(QString, hours);
    QFETCH(bool, refused);
    CsvScreen screen = paceScreen(hours, u"30"_s, u"0"_s);
    screen.panel = panel;

    QCOMPARE(!csvText(screen).has_value(), refused);
}

QTEST_GUILESS_MAIN(TstCsvText)
#include "tst_csv_text.moc"
