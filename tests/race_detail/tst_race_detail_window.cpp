#include "shell/chart_view.h"
#include "fit_encoder.h"
#include "race_detail/race_detail_window.h"
#include "race_detail/route_view.h"
#include "record_book/record_book.h"
#include "support/file_helpers.h"
#include "support/channelled_run.h"
#include "support/gpx_track.h"
#include "support/main_window_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/table_texts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace torvanu;

Q_DECLARE_METATYPE(torvanu::test::RunChannels)

namespace {

constexpr std::uint32_t kRaceStart = 1'100'000'000; // FIT time, 2024-11-08 09:46:40 UTC
constexpr int kPoints = 106;                        // 10.5 km, a point every 100 m and 30 s

// statedFurther: centimetres the session's distance passes the last record's, as a watch that
// closes its session a moment after its last record states.
QByteArray fitRun(bool bigEndian, std::uint32_t statedFurther = 0)
{
    test::FitActivityContent run;
    run.start = kRaceStart;
    run.sport = 1;
    for (int i = 0; i < kPoints; ++i)
        run.records.push_back({kRaceStart + 30u * i, 10'000u * i});
    run.elapsedMs = run.timerMs = 30'000u * (kPoints - 1);
    run.distanceCm = 10'000u * (kPoints - 1) + statedFurther;
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
    FitStatedFurther, // the session states 10.503 km, the track ends at 10.5
    Gpx,
    GpxWithChannels, // elevation, heart rate and cadence: every column of the split table
    GpxWithoutTimes,
    TruncatedFit,
    Missing,
    None,
};

// A window on an hour's run with the channels given, as the menu makes one from a file.
std::unique_ptr<RaceDetailWindow> windowOn(test::RunChannels channels, Dialogs& dialogs)
{
    RaceDetailData data;
    data.heading = u"2024年11月08日　川沿い"_s;
    data.activity = test::channelledRun(3600, channels);
    const RaceAnalysis analysis = analyseRace(data.activity.track);
    data.view = raceDetailView(analysis, evenPace({}, {}, analysis));
    return std::make_unique<RaceDetailWindow>(std::move(data), dialogs);
}

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
    void showsWhatTheFileHas_data();
    void showsWhatTheFileHas();
    void savesThePicture_data();
    void savesThePicture();
    void fitsTheScreen_data();
    void fitsTheScreen();
    void escapeCloses();
    void savesTheSplitTable_data();
    void savesTheSplitTable();

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
    case File::FitStatedFurther:
        bytes = fitRun(false, 300);
        break;
    case File::TruncatedFit:
        bytes = fitRun(false).first(600);
        break;
    case File::Gpx:
    case File::GpxWithChannels:
    case File::GpxWithoutTimes:
        // The same run; without times, a planned route.
        bytes = test::gpxFile(test::gpxTrack(kPoints, {}, 0, file != File::GpxWithoutTimes,
                                             file == File::GpxWithChannels));
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
    QTest::addColumn<QStringList>("lastRow");
    QTest::addColumn<QString>("summary");

    const QStringList finish{u"10.5km"_s, u"52:30"_s, u"2:30"_s, u"±0:00"_s};
    const QString summary = u"距離 10.5km　タイム 52:30　平均ペース 5:00/km"_s;
    QTest::newRow("FIT") << File::Fit << finish << summary;
    QTest::newRow("FIT of the other byte order") << File::FitBigEndian << finish << summary;
    QTest::newRow("GPX") << File::Gpx << finish << summary;
    // The heading names the session's distance: the summary and the last row name the same.
    QTest::newRow("FIT whose session states a little more than its track")
        << File::FitStatedFurther << QStringList{u"10.503km"_s, u"52:30"_s, u"2:30"_s, u"-0:01"_s}
        << u"距離 10.503km　タイム 52:30　平均ペース 5:00/km"_s;
}

void TestRaceDetailWindow::showsTheSplits()
{
    QFETCH(File, file);
    QFETCH(QStringList, lastRow);
    QFETCH(QString, summary);

    RaceDetailWindow* window = open(file);
    QVERIFY(window);
    QVERIFY(m_main->dialogs.messages.isEmpty());
    QVERIFY(window->isWindow());
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowModality(), Qt::NonModal);

    auto* table = window->findChild<QTableWidget*>(u"SplitTable"_s);
    QCOMPARE(table->rowCount(), 11);
    QCOMPARE(test::rowTexts(table, 0), (QStringList{u"1km"_s, u"5:00"_s, u"5:00"_s, u"±0:00"_s}));
    QCOMPARE(test::rowTexts(table, 10), lastRow);
    QCOMPARE(window->findChild<QLabel*>(u"RaceSummary"_s)->text(), summary);
    QVERIFY(window->findChild<QLabel*>(u"RaceHeading"_s)
                ->text()
                .contains(u"　"_s + lastRow[0].chopped(2) + u" km　"_s));
    // The generated files hold time and distance alone.
    QCOMPARE(window->findChild<QLabel*>(u"MissingChannels"_s)->text(),
             u"このファイルには心拍・高度・ピッチの記録がありません。"_s);
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

void TestRaceDetailWindow::showsWhatTheFileHas_data()
{
    QTest::addColumn<test::RunChannels>("channels");
    QTest::addColumn<int>("series");          // of the profile; no chart without one
    QTest::addColumn<QString>("profileNote"); // empty: none shown
    QTest::addColumn<QString>("courseNote");  // empty: the course is drawn

    QTest::newRow("every channel") << test::RunChannels{} << 2 << QString() << QString();
    QTest::newRow("no heart rate") << test::RunChannels{true, false, true} << 1
                                   << u"このファイルには心拍の記録がありません。"_s << QString();
    QTest::newRow("heart rate alone, no fix") << test::RunChannels{false, true, false} << 1
                                              << u"このファイルには標高の記録がありません。"_s
                                              << u"このファイルには位置の記録がありません。"_s;
    QTest::newRow("time and distance alone") << test::RunChannels{false, false, false} << 0
                                             << u"このファイルには標高と心拍の記録がありません。"_s
                                             << u"このファイルには位置の記録がありません。"_s;
}

// A part the file has no channel for is left out, and one line says what is missing.
void TestRaceDetailWindow::showsWhatTheFileHas()
{
    QFETCH(test::RunChannels, channels);
    QFETCH(int, series);
    QFETCH(QString, profileNote);
    QFETCH(QString, courseNote);

    test::ScriptedDialogs dialogs;
    const auto window = windowOn(channels, dialogs);
    const auto* profile = window->findChild<ChartView*>(u"ProfileChart"_s);
    QCOMPARE(profile != nullptr, series > 0);
    if (profile) {
        QCOMPARE(profile->data().series.size(), std::size_t(series));
        // Heart rate keeps a scale of its own beside an elevation.
        QCOMPARE(profile->data().y2.has_value(), series == 2);
    }
    const auto* note = window->findChild<QLabel*>(u"ProfileNote"_s);
    QCOMPARE(note ? note->text() : QString(), profileNote);
    const auto* route = window->findChild<RouteView*>(u"RouteView"_s);
    QCOMPARE(route == nullptr, !courseNote.isEmpty());
    const auto* missing = window->findChild<QLabel*>(u"CourseNote"_s);
    QCOMPARE(missing ? missing->text() : QString(), courseNote);
    QVERIFY(window->findChild<ChartView*>(u"PaceChart"_s));
    QCOMPARE(window->bestEffortsFrame()->objectName(), u"BestEffortsFrame"_s);
    QCOMPARE(dialogs.unexpected, 0);
}

void TestRaceDetailWindow::savesThePicture_data()
{
    QTest::addColumn<test::RunChannels>("channels");
    QTest::addColumn<QString>("chosen"); // in the temporary folder
    QTest::addColumn<bool>("saved");

    QTest::newRow("charts and course, the suffix added")
        << test::RunChannels{} << u"race"_s << true;
    QTest::newRow("the pace chart alone")
        << test::RunChannels{false, false, false} << u"race.png"_s << true;
    QTest::newRow("into a folder that is not there")
        << test::RunChannels{} << u"missing/race.png"_s << false;
}

// One PNG holds the charts above each other and the course beside them; a failed save names
// the file.
void TestRaceDetailWindow::savesThePicture()
{
    QFETCH(test::RunChannels, channels);
    QFETCH(QString, chosen);
    QFETCH(bool, saved);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    test::ScriptedDialogs dialogs;
    const auto window = windowOn(channels, dialogs);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    dialogs.chooseSaveFile(folder.filePath(chosen));
    auto* button = window->findChild<QPushButton*>(u"SaveImageButton"_s);
    QCOMPARE(button->text(), u"画像を保存..."_s);
    button->click();

    QString path = folder.filePath(chosen);
    if (!path.endsWith(u".png"_s))
        path += u".png"_s;
    const QImage picture(path, "PNG");
    QCOMPARE(!picture.isNull(), saved);
    QCOMPARE(dialogs.messages.size(), saved ? 0 : 1);
    if (!saved) {
        // The window's own words, then the file and the system's reason.
        QCOMPARE(dialogs.messages.front().text, u"画像を保存できませんでした。"_s);
        QVERIFY(dialogs.messages.front().detail.startsWith(u"書き込めなかったファイル：\r\n"_s +
                                                           path + u"\r\n理由："_s));
        return;
    }
    const auto* pace = window->findChild<ChartView*>(u"PaceChart"_s);
    const auto* route = window->findChild<RouteView*>(u"RouteView"_s);
    const QSize size = picture.deviceIndependentSize().toSize();
    QVERIFY(size.width() >= pace->width() + (route ? route->width() : 0));
    QVERIFY(size.height() > pace->height() + (route ? pace->height() : 0));
}

void TestRaceDetailWindow::fitsTheScreen_data()
{
    QTest::addColumn<File>("file");
    QTest::newRow("time and distance") << File::Fit;
    QTest::newRow("every channel") << File::GpxWithChannels;
}

void TestRaceDetailWindow::fitsTheScreen()
{
    QFETCH(File, file);

    RaceDetailWindow* window = open(file);
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
    // 心拍, 上り, 下り and 調整ペース beside the four columns every file gets; no line of
    // missing channels.
    const bool channels = file == File::GpxWithChannels;
    QCOMPARE(table->columnCount(), channels ? 8 : 4);
    QCOMPARE(window->findChild<QLabel*>(u"MissingChannels"_s) == nullptr, channels);
    QVERIFY(table->viewport()->width() >= table->horizontalHeader()->length());
    for (const QWidget* chart : window->findChildren<QWidget*>(
             QRegularExpression(u"^(PaceChart|ProfileChart|RouteView)$"_s)))
        QVERIFY2(chart->height() >= 100, qPrintable(chart->objectName()));
}

void TestRaceDetailWindow::escapeCloses()
{
    RaceDetailWindow* window = open(File::Gpx);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Tab goes round the tables and the two save buttons, and nothing else takes it.
    auto* table = window->findChild<QTableWidget*>(u"SplitTable"_s);
    table->setFocus();
    QStringList visited{table->objectName()};
    for (int tab = 0; tab < 8; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == table)
            break;
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(QApplication::focusWidget(), table);
    visited.sort();
    QCOMPARE(visited, (QStringList{u"BestEfforts"_s, u"SaveCsvButton"_s, u"SaveImageButton"_s,
                                   u"SplitTable"_s}));
    QTest::keyClick(table, Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(m_main->form->isVisible());
}

void TestRaceDetailWindow::savesTheSplitTable_data()
{
    QTest::addColumn<QString>("chosen"); // in the test's folder
    QTest::addColumn<bool>("saved");

    QTest::newRow("named without its suffix") << u"ラップ"_s << true;
    QTest::newRow("into a folder that is not there") << u"missing/ラップ.csv"_s << false;
}

// The table as shown, in code page 932 with CR LF; a failure names the file and its cause.
void TestRaceDetailWindow::savesTheSplitTable()
{
    QFETCH(QString, chosen);
    QFETCH(bool, saved);

    RaceDetailWindow* window = open(File::Fit);
    QVERIFY(window);
    const QString path = m_main->environment.filePath(chosen);
    m_main->dialogs.chooseSaveFile(path);
    auto* button = window->findChild<QPushButton*>(u"SaveCsvButton"_s);
    QCOMPARE(button->text(), u"CSV保存..."_s);
    button->click();

    const QString written = saved ? path + u".csv"_s : path;
    QCOMPARE(QFile::exists(written), saved);
    if (saved) {
        QVERIFY(m_main->dialogs.messages.isEmpty());
        const QByteArray bytes = test::readFile(written);
        QVERIFY(bytes.startsWith(
            test::cp932(u"地点,通過,ラップ,均等ペースとの差\r\n1km,5:00,5:00,±0:00\r\n"_s)));
        QVERIFY(bytes.endsWith(test::cp932(u"\r\n10.5km,52:30,2:30,±0:00\r\n"_s)));
        QCOMPARE(bytes.count("\r\n"), 12);
        QCOMPARE(bytes.count('\n'), 12);
    } else {
        QCOMPARE(m_main->dialogs.messages.size(), 1);
        QCOMPARE(m_main->dialogs.messages[0].text, u"CSVファイルを保存できませんでした。"_s);
        const QStringList lines = m_main->dialogs.messages[0].detail.split(u"\r\n"_s);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[1], QDir::toNativeSeparators(path));
        QVERIFY(lines[2].size() > QStringView(u"理由：").size());
        QCOMPARE(m_main->dialogs.messages[0].icon, Dialogs::Icon::Stop);
    }
}

QTEST_MAIN(TestRaceDetailWindow)
#include "tst_race_detail_window.moc"
