#include "shell/chart_view.h"
#include "fit_encoder.h"
#include "race_detail/race_detail_window.h"
#include "record_book/record_book.h"
#include "support/file_helpers.h"
#include "support/gpx_track.h"
#include "support/main_window_fixture.h"
#include "support/table_texts.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include <array>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace torvanu;

namespace {

constexpr std::uint32_t kRaceStart = 1'100'000'000; // FIT time, 2024-11-08 09:46:40 UTC
constexpr int kPoints = 106;                        // 10.5 km, a point every 100 m and 30 s

QByteArray fitRun(bool bigEndian)
{
    test::FitActivityContent run;
    run.start = kRaceStart;
    run.sport = 1;
    for (int i = 0; i < kPoints; ++i)
        run.records.push_back({kRaceStart + 30u * i, 10'000u * i});
    run.elapsedMs = run.timerMs = 30'000u * (kPoints - 1);
    run.distanceCm = 10'000u * (kPoints - 1);
    run.laps.push_back({kRaceStart, run.elapsedMs, run.timerMs, run.distanceCm});
    return test::encodeFitActivity(run, {.bigEndian = bigEndian, .compressedTimestamps = true});
}

// A duathlon as a multisport watch records it: a session per leg, each leg's distance counted
// from its own start, and each leg starting the moment the one before it ends.
struct Leg
{
    std::uint8_t sport; // FIT's numbers: 1 run, 2 ride, 3 transition
    std::uint32_t seconds;
    std::uint32_t metres;
};
constexpr std::array<Leg, 5> kDuathlon = {
    {{1, 785, 2245}, {3, 95, 120}, {2, 2400, 20000}, {3, 70, 90}, {1, 3723, 12740}}};

std::uint32_t legStart(std::size_t leg)
{
    std::uint32_t start = kRaceStart;
    for (std::size_t i = 0; i < leg; ++i)
        start += kDuathlon[i].seconds;
    return start;
}

QByteArray duathlon()
{
    std::vector<test::FitActivityContent> sessions;
    for (std::size_t i = 0; i < kDuathlon.size(); ++i) {
        const Leg& leg = kDuathlon[i];
        test::FitActivityContent session;
        session.start = legStart(i);
        session.sport = leg.sport;
        const std::uint64_t centimetres = leg.metres * 100ULL;
        for (std::uint32_t t = 0; t < leg.seconds; t += 5)
            session.records.push_back(
                {session.start + t, static_cast<std::uint32_t>(centimetres * t / leg.seconds)});
        session.records.push_back({session.start + leg.seconds, leg.metres * 100});
        session.elapsedMs = session.timerMs = leg.seconds * 1000;
        session.distanceCm = leg.metres * 100;
        session.laps.push_back(
            {session.start, session.elapsedMs, session.timerMs, session.distanceCm});
        sessions.push_back(session);
    }
    return test::encodeFitActivities(sessions, {.compressedTimestamps = true});
}

// The book's date of a leg: the day it started where the test runs.
QString bookDate(std::size_t leg)
{
    constexpr qint64 fitEpoch = 631'065'600; // 1989-12-31T00:00:00Z in Unix time
    return QDateTime::fromSecsSinceEpoch(fitEpoch + legStart(leg))
        .toLocalTime()
        .toString(u"yyyy年MM月dd日"_s);
}

enum class File
{
    Fit,
    FitBigEndian,
    Gpx,
    GpxWithoutTimes,
    TruncatedFit,
    Missing,
    None,
};

} // namespace

class TestRaceDetailWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void showsTheSplits_data();
    void showsTheSplits();
    void multisportRuns_data();
    void multisportRuns();
    void refused_data();
    void refused();
    void fitsTheScreen();
    void escapeCloses();

private:
    // A book of one race in 52:30 over 10.5 km whose data file is file, that race selected
    // unless select is false, and レース詳細 chosen.
    RaceDetailWindow* open(File file, bool select = true);
    // The same for a book of one race over bytes, written as line's data file.
    RaceDetailWindow* open(const QByteArray& bytes, const QString& line);
    QString dataPath() const { return m_main->environment.filePath(u"レース.dat"_s); }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestRaceDetailWindow::cleanup()
{
    if (m_main)
        QCOMPARE(m_main->dialogs.unexpected, 0);
    m_main.reset();
}

RaceDetailWindow* TestRaceDetailWindow::open(File file, bool select)
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QByteArray bytes;
    switch (file) {
    case File::Fit:
    case File::FitBigEndian:
        bytes = fitRun(file == File::FitBigEndian);
        break;
    case File::TruncatedFit:
        bytes = fitRun(false).first(600);
        break;
    case File::Gpx:
    case File::GpxWithoutTimes:
        // The same run; without times, a planned route.
        bytes = test::gpxFile(test::gpxTrack(kPoints, {}, 0, file == File::Gpx));
        break;
    case File::Missing:
    case File::None:
        break;
    }
    if (!bytes.isEmpty() && !test::writeFile(dataPath(), bytes))
        return nullptr;
    const QString path = file == File::None ? QString() : dataPath();
    const QString book = u"1,2024年11月08日,川沿いハーフ,10.5km,  52分30秒,,"_s + path + u"\r\n"_s;
    if (!m_main->start({.log = test::cp932(book)}))
        return nullptr;
    if (select)
        m_main->form->recordBook().selectRow(0);
    m_main->find<QAction>(u"mnRaceDetail"_s)->trigger();
    return m_main->form->findChild<RaceDetailWindow*>(u"RaceDetail"_s);
}

void TestRaceDetailWindow::showsTheSplits_data()
{
    QTest::addColumn<File>("file");
    QTest::newRow("FIT") << File::Fit;
    QTest::newRow("FIT of the other byte order") << File::FitBigEndian;
    QTest::newRow("GPX") << File::Gpx;
}

void TestRaceDetailWindow::showsTheSplits()
{
    QFETCH(File, file);

    RaceDetailWindow* window = open(file);
    QVERIFY(window);
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QVERIFY(window->isWindow());
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::NonModal);

    auto* table = window->findChild<QTableWidget*>(u"SplitTable"_s);
    QCOMPARE(table->rowCount(), 11);
    QCOMPARE(test::rowTexts(table, 0), (QStringList{u"1km"_s, u"5:00"_s, u"5:00"_s, u"±0:00"_s}));
    QCOMPARE(test::rowTexts(table, 10),
             (QStringList{u"10.5km"_s, u"52:30"_s, u"2:30"_s, u"±0:00"_s}));
    QCOMPARE(window->findChild<QLabel*>(u"HalfSplit"_s)->text(),
             u"前半 26:15　後半 26:15（±0.0%）"_s);
    QCOMPARE(window->findChild<QLabel*>(u"EvenPace"_s)->text(),
             u"均等ペース 5:00/km（記録のタイムと距離から）"_s);
    QVERIFY(window->findChild<QLabel*>(u"RaceHeading"_s)->text().contains(u"川沿いハーフ"_s));

    // An even run: every stretch at 5:00/km.
    auto* efforts = window->findChild<QTableWidget*>(u"BestEfforts"_s);
    QCOMPARE(test::columnTexts(efforts, 0),
             (QStringList{u"400m"_s, u"1km"_s, u"1ﾏｲﾙ"_s, u"5km"_s, u"10km"_s}));
    QCOMPARE(test::rowTexts(efforts, 2).first(3),
             (QStringList{u"1ﾏｲﾙ"_s, u"8:03"_s, u"5:00/km"_s}));
    QCOMPARE(test::rowTexts(efforts, 4).first(3),
             (QStringList{u"10km"_s, u"50:00"_s, u"5:00/km"_s}));

    const ChartData& chart = window->findChild<ChartView*>(u"PaceChart"_s)->data();
    QCOMPARE(chart.kind, ChartData::Kind::Bars);
    QCOMPARE(chart.points.size(), std::size_t{10});
    QCOMPARE(chart.referenceLine, std::optional<double>(300));

    // A second choice opens a second window beside the first, for another race or the same.
    m_main->find<QAction>(u"mnRaceDetail"_s)->trigger();
    QCOMPARE(m_main->form->findChildren<RaceDetailWindow*>().size(), 2);
}

RaceDetailWindow* TestRaceDetailWindow::open(const QByteArray& bytes, const QString& line)
{
    m_main = std::make_unique<test::MainWindowFixture>();
    if (!test::writeFile(dataPath(), bytes) ||
        !m_main->start({.log = test::cp932(line + dataPath() + u"\r\n"_s)}))
        return nullptr;
    m_main->form->recordBook().selectRow(0);
    m_main->find<QAction>(u"mnRaceDetail"_s)->trigger();
    return m_main->form->findChild<RaceDetailWindow*>(u"RaceDetail"_s);
}

void TestRaceDetailWindow::multisportRuns_data()
{
    QTest::addColumn<int>("leg");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("activity"); // the heading's second line
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("firstRow");

    QTest::newRow("the first run, 2.245 km")
        << 0 << u"2.245km"_s << u"  13分 5秒"_s << u"ランニング　%1　2.245 km　0:13:05"_s << 3
        << QStringList{u"1km"_s, u"5:50"_s, u"5:50"_s, u"±0:00"_s};
    QTest::newRow("the second run, 12.74 km")
        << 4 << u"12.74km"_s << u" 1時間 2分 3秒"_s << u"ランニング　%1　12.74 km　1:02:03"_s << 13
        << QStringList{u"1km"_s, u"4:52"_s, u"4:52"_s, u"±0:00"_s};
    QTest::newRow("the second run, booked at its official distance")
        << 4 << u"12.5km"_s << u" 1時間 2分 3秒"_s << u"ランニング　%1　12.74 km　1:02:03"_s << 13
        << QStringList{u"1km"_s, u"4:52"_s, u"4:52"_s, u"-0:06"_s};
    QTest::newRow("the ride") << 2 << u"20km"_s << u"  40分 0秒"_s
                              << u"サイクリング　%1　20 km　0:40:00"_s << 20
                              << QStringList{u"1km"_s, u"2:00"_s, u"2:00"_s, u"±0:00"_s};
}

// Each run of the file shows its own splits, whichever comes first in the file.
void TestRaceDetailWindow::multisportRuns()
{
    QFETCH(int, leg);
    QFETCH(QString, distance);
    QFETCH(QString, time);
    QFETCH(QString, activity);
    QFETCH(int, rows);
    QFETCH(QStringList, firstRow);

    const auto index = static_cast<std::size_t>(leg);
    const QString started = QDateTime::fromSecsSinceEpoch(631'065'600 + legStart(index))
                                .toLocalTime()
                                .toString(u"yyyy/MM/dd HH:mm"_s);
    RaceDetailWindow* window =
        open(duathlon(), u"1,%1,デュアスロン,%2,%3,,"_s.arg(bookDate(index), distance, time));
    QVERIFY(window);
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QCOMPARE(window->findChild<QLabel*>(u"RaceHeading"_s)->text(),
             u"%1　デュアスロン\n"_s.arg(bookDate(index)) + activity.arg(started));
    auto* table = window->findChild<QTableWidget*>(u"SplitTable"_s);
    QCOMPARE(table->rowCount(), rows);
    QCOMPARE(test::rowTexts(table, 0), firstRow);
}

void TestRaceDetailWindow::refused_data()
{
    QTest::addColumn<File>("file");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("namesTheFile");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no record selected")
        << File::Fit << false << false << u"詳細表示の大会記録一覧で記録を選んでください。"_s;
    QTest::newRow("no data file") << File::None << true << false
                                  << u"この記録にはデータファイルが指定されていません。"_s;
    QTest::newRow("a file that is not there")
        << File::Missing << true << true << u"ファイルを読み込めません。"_s;
    QTest::newRow("a FIT file cut short")
        << File::TruncatedFit << true << true << u"FITファイルの途中で終わっています。"_s;
    QTest::newRow("a planned route without times")
        << File::GpxWithoutTimes << true << true
        << u"このファイルには、ラップを出せる時刻と距離の記録がありません。"_s;
}

void TestRaceDetailWindow::refused()
{
    QFETCH(File, file);
    QFETCH(bool, select);
    QFETCH(bool, namesTheFile);
    QFETCH(QString, reason);

    QCOMPARE(open(file, select), nullptr);
    QCOMPARE(m_main->dialogs.messages.size(), 1);
    const QString text = m_main->dialogs.messages.front().text;
    QVERIFY2(text.endsWith(reason), qPrintable(text));
    QCOMPARE(text.startsWith(QDir::toNativeSeparators(dataPath()) + u"\n"_s), namesTheFile);
}

void TestRaceDetailWindow::fitsTheScreen()
{
    RaceDetailWindow* window = open(File::Fit);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY2(
        screen.contains(window->frameGeometry()),
        qPrintable(
            u"%1x%2"_s.arg(window->frameGeometry().width()).arg(window->frameGeometry().height())));
    for (QLabel* label : window->findChildren<QLabel*>())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->objectName()));
    auto* table = window->findChild<QTableWidget*>(u"SplitTable"_s);
    QVERIFY(table->viewport()->width() >= table->horizontalHeader()->length());
    QVERIFY(window->findChild<ChartView*>(u"PaceChart"_s)->height() >= 100);
}

void TestRaceDetailWindow::escapeCloses()
{
    RaceDetailWindow* window = open(File::Gpx);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::keyClick(window->findChild<QTableWidget*>(u"SplitTable"_s), Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(m_main->form->isVisible());
}

QTEST_MAIN(TestRaceDetailWindow)
#include "tst_race_detail_window.moc"
