#include "analysis_window/analysis_window.h"
#include "views/analysis/effort_cache.h"
#include "views/charts/chart_painter.h"
#include "shell/chart_view.h"
#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "records/record_model.h"
#include "support/file_helpers.h"
#include "support/gpx_track.h"
#include "support/main_window_fixture.h"
#include "support/table_texts.h"

#include <QAction>
#include <QHeaderView>
#include <QScrollBar>
#include <QScreen>
#include <QRegularExpression>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QThreadPool>

#include <memory>

using namespace Qt::StringLiterals;
using namespace torvanu;

class TestAnalysisWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensFromToolsMenu();
    void escapeCloses();
    void showsTheBook();
    void followsTheBook_data();
    void followsTheBook();
    void doubleClickSelectsTheRace();
    void targetFillsTheCalculator();
    void chartToolTip();
    void savesChartImage();
    void imageWriteFailureShownOnce();
    void completedNameAsksBeforeReplacing();
    void opensBesideTheMainWindow();
    void columnsReadAsTheirTexts();
    void everyPredictionInView();
    void effortsFromDataFiles_data();
    void effortsFromDataFiles();
    void closesWhileReading();

private:
    QTableWidget* table(const QString& name) const
    {
        return m_window->findChild<QTableWidget*>(name);
    }
    QStringList column(const QString& name, int c) const
    {
        return test::columnTexts(table(name), c);
    }
    QStringList row(const QString& name, int r) const { return test::rowTexts(table(name), r); }

    std::unique_ptr<test::MainWindowFixture> m_main;
    AnalysisWindow* m_window = nullptr;
};

namespace {

const QString kBook = u"1,2021年03月07日,市民マラソン,42.195km, 3時間50分 0秒,,\r\n"
                      u"2,2021年10月10日,秋の10km,10km,  45分 0秒,,\r\n"
                      u"3,2022年03月06日,市民マラソン,26.2ﾏｲﾙ, 3時間40分 0秒,,\r\n"
                      u"4,2022年11月13日,駅伝,5km,  21分30秒,,\r\n"
                      u"5,2023年03月05日,市民マラソン,42.195km, 3時間45分 0秒,,\r\n"
                      u"6,9999年01月01日,未来,10km,  40分 0秒,,\r\n"_s;

} // namespace

void TestAnalysisWindow::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
    QVERIFY(m_main->start({.log = test::cp932(kBook)}));
    m_main->form->findChild<QAction*>(u"mnAnalysis"_s)->trigger();
    m_window = m_main->form->findChild<AnalysisWindow*>(u"AnalysisWindow"_s);
    QVERIFY(m_window);
}

void TestAnalysisWindow::cleanup()
{
    QCOMPARE(m_main->dialogs.unexpected, 0);
    m_window = nullptr;
    m_main.reset();
}

void TestAnalysisWindow::opensFromToolsMenu()
{
    QStringList menus;
    for (QAction* action : m_main->form->menuBar()->actions())
        menus.append(action->text());
    QCOMPARE(menus, (QStringList{u"メニュー(&M)"_s, u"ツール(&T)"_s, u"ヘルプ(&H)"_s}));

    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->isWindow());
    QCOMPARE(m_window->windowTitle(), u"記録分析"_s);
    QCOMPARE(m_window->windowModality(), Qt::NonModal);

    // A second choice of the menu shows the same window.
    m_main->form->findChild<QAction*>(u"mnAnalysis"_s)->trigger();
    QCOMPARE(m_main->form->findChildren<AnalysisWindow*>().size(), 1);
}

void TestAnalysisWindow::escapeCloses()
{
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTest::keyClick(m_window->findChild<QTableWidget*>(u"BestTable"_s), Qt::Key_Escape);
    QTRY_VERIFY(!m_window->isVisible());
    QVERIFY(m_main->form->isVisible());
}

void TestAnalysisWindow::showsTheBook()
{
    QCOMPARE(row(u"BestTable"_s, 0), (QStringList{u"5km"_s, u"21:30"_s, u"4:18"_s,
                                                  u"2022年11月13日"_s, u"駅伝"_s, u"1"_s}));
    QCOMPARE(row(u"BestTable"_s, 2), (QStringList{u"フル"_s, u"3:40:00"_s, u"5:13"_s,
                                                  u"2022年03月06日"_s, u"市民マラソン"_s, u"3"_s}));

    QCOMPARE(column(u"YearTable"_s, 3),
             (QStringList{u"3:50:00 (1)"_s, u"3:40:00 (1)"_s, u"3:45:00 (1)"_s}));
    QTableWidget* years = table(u"YearTable"_s);
    QVERIFY(years->item(1, 3)->font().bold());
    QVERIFY(!years->item(2, 3)->font().bold());
    QVERIFY(years->item(2, 3)->toolTip().contains(u"+5:00"_s));

    QCOMPARE(row(u"UnreadableTable"_s, 0),
             (QStringList{u"6"_s, u"年が範囲外です: «9999年01月01日»"_s}));

    // Predictions start from the newest best of 3 km or more: the 5 km of 2022.
    QCOMPARE(column(u"PredictionTable"_s, 0),
             (QStringList{u"1500m"_s, u"5km"_s, u"10km"_s, u"ハーフ"_s, u"フル"_s}));
    QCOMPARE(row(u"PredictionTable"_s, 1).mid(1, 3),
             (QStringList{u"21:30"_s, u"21:30"_s, u"21:30"_s}));
    QVERIFY(m_window->findChild<QLabel*>(u"VdotLabel"_s)->text().startsWith(u"VDOT "_s));
}

void TestAnalysisWindow::followsTheBook_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("bests"); // 自己ベスト column

    QTest::newRow("a faster time edited in")
        << u"edit"_s << QStringList{u"21:30"_s, u"45:00"_s, u"3:30:00"_s};
    QTest::newRow("the best deleted")
        << u"delete"_s << QStringList{u"21:30"_s, u"45:00"_s, u"3:45:00"_s};
    QTest::newRow("a new class added")
        << u"append"_s << QStringList{u"21:30"_s, u"45:00"_s, u"1:40:00"_s, u"3:40:00"_s};
    QTest::newRow("sorted: the same bests")
        << u"sort"_s << QStringList{u"21:30"_s, u"45:00"_s, u"3:40:00"_s};
    QTest::newRow("two rows swapped, then an edit")
        << u"swap"_s << QStringList{u"21:30"_s, u"45:00"_s, u"3:30:00"_s};
    QTest::newRow("every row replaced") << u"reset"_s << QStringList{u"19:59"_s};
}

void TestAnalysisWindow::followsTheBook()
{
    QFETCH(QString, change);
    QFETCH(QStringList, bests);

    RecordModel& model = m_main->form->recordBook().model();
    if (change == u"edit") {
        RaceRecord record = model.record(4);
        record.raceTime = u" 3時間30分 0秒"_s;
        model.setRecord(4, record);
    } else if (change == u"delete") {
        model.removeRecord(2);
        model.renumber();
    } else if (change == u"append") {
        model.appendRecord({u"7"_s,
                            u"2023年06月01日"_s,
                            u"ハーフ大会"_s,
                            u"21.0975km"_s,
                            u" 1時間40分 0秒"_s,
                            {},
                            {}});
    } else if (change == u"swap") {
        model.swapContents(3, 4);
        QTRY_VERIFY(!m_window->refreshPending());
        RaceRecord record = model.record(3);
        record.raceTime = u" 3時間30分 0秒"_s;
        model.setRecord(3, record);
    } else if (change == u"sort") {
        model.sortByColumn(RecordModel::TimeColumn, Qt::AscendingOrder);
    } else {
        model.setRecords(QList<RaceRecord>{
            {u"1"_s, u"2024年01月01日"_s, u"新年"_s, u"5km"_s, u"  19分59秒"_s, {}, {}}});
    }
    QTRY_VERIFY(!m_window->refreshPending());
    QCOMPARE(column(u"BestTable"_s, 1), bests);
}

void TestAnalysisWindow::doubleClickSelectsTheRace()
{
    m_window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_window));
    emit table(u"BestTable"_s)->cellDoubleClicked(2, 0);
    QCOMPARE(m_main->form->recordBook().selectedRow(), std::optional(2));
    // The selection is shown: the main window comes to the front.
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_main->form.get()));
}

void TestAnalysisWindow::targetFillsTheCalculator()
{
    auto* result = m_main->find<QLineEdit>(u"GoalTimeLabel(2)"_s);
    const QSignalSpy recalculations(result, &QLineEdit::textChanged);
    QTableWidget* predictions = table(u"PredictionTable"_s);
    predictions->setCurrentCell(4, 3); // フル, Daniels
    const QString predicted = predictions->item(4, 3)->text();
    auto* target = m_window->findChild<QPushButton*>(u"TargetButton"_s);
    QVERIFY(target->isEnabled());
    m_window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_window));
    target->click();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(m_main->form.get()));

    QCOMPARE(m_main->find<QTabWidget>(u"TabStrip1"_s)->currentIndex(), 1);
    QCOMPARE(m_main->find<QComboBox>(u"Combo3"_s)->currentText(), u"42.195"_s);
    QCOMPARE(m_main->find<QPushButton>(u"Command2"_s)->text(), u"km"_s);
    const QStringList parts = predicted.split(u':');
    QCOMPARE(m_main->find<QComboBox>(u"Combo4(0)"_s)->currentText().trimmed(), parts[0]);
    QCOMPARE(m_main->find<QComboBox>(u"Combo4(1)"_s)->currentText().trimmed().toInt(),
             parts[1].toInt());
    QCOMPARE(m_main->find<QComboBox>(u"Combo4(2)"_s)->currentText().trimmed().toInt(),
             parts[2].toInt());
    QCOMPARE(recalculations.count(), 1);
    QVERIFY(m_main->dialogs.messages.isEmpty());

    // The names column holds no time to take.
    predictions->setCurrentCell(4, 0);
    QVERIFY(!target->isEnabled());
}

void TestAnalysisWindow::chartToolTip()
{
    auto* chart = m_window->findChild<ChartView*>(u"TrendChart"_s);
    QVERIFY(chart);
    QCOMPARE(chart->data().points.size(), 1u); // the 5 km class is chosen
    const ChartPainter painter(chart->data(), chart->font());
    const QPointF at = painter.toPixel(chart->data().points[0], painter.plotArea(chart->rect()));
    QCOMPARE(chart->toolTipAt(at.toPoint()), u"2022年11月13日\n駅伝\n21:30"_s);
    QCOMPARE(chart->toolTipAt(at.toPoint() + QPoint(40, 40)), QString());
}

void TestAnalysisWindow::savesChartImage()
{
    m_main->dialogs.chooseSaveFile(m_main->environment.filePath(u"trend"_s));
    m_window->findChild<QPushButton*>(u"SaveImageButton"_s)->click();

    const QImage image(m_main->environment.filePath(u"trend.png"_s), "PNG");
    QVERIFY(!image.isNull());
    QVERIFY(m_main->dialogs.messages.isEmpty());
}

void TestAnalysisWindow::imageWriteFailureShownOnce()
{
    const QString path = m_main->environment.filePath(u"missing-folder/trend.png"_s);
    m_main->dialogs.chooseSaveFile(path);
    m_window->findChild<QPushButton*>(u"SaveImageButton"_s)->click();

    QCOMPARE(m_main->dialogs.messages.size(), 1);
    QCOMPARE(m_main->dialogs.messages[0].text, u"画像を保存できませんでした。"_s);
    // The file, then the system's own reason.
    QVERIFY(m_main->dialogs.messages[0].detail.startsWith(u"書き込めなかったファイル：\r\n"_s +
                                                          path + u"\r\n理由："_s));
    QVERIFY(!m_main->dialogs.messages[0].detail.endsWith(u"理由："_s));
    QCOMPARE(m_main->dialogs.messages[0].icon, Dialogs::Icon::Stop);
    QVERIFY(!QFile::exists(path));
}

// The chooser asked about "trend"; "trend.png" is another file and is not replaced unasked.
void TestAnalysisWindow::completedNameAsksBeforeReplacing()
{
    const QString path = m_main->environment.filePath(u"trend.png"_s);
    QVERIFY(test::writeFile(path, "old"));
    m_main->dialogs.chooseSaveFile(m_main->environment.filePath(u"trend"_s));
    m_main->dialogs.answerNext(Dialogs::Answer::No);
    m_window->findChild<QPushButton*>(u"SaveImageButton"_s)->click();

    QCOMPARE(m_main->dialogs.messages.size(), 1);
    QCOMPARE(m_main->dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(test::readFile(path), QByteArray("old"));
}

void TestAnalysisWindow::opensBesideTheMainWindow()
{
    const QRect available = m_window->screen()->availableGeometry();
    QVERIFY(available.contains(m_window->frameGeometry()));
    const QRect main = m_main->form->frameGeometry();
    const QRect analysis = m_window->frameGeometry();
    // Where the screen has room the calculator stays uncovered; else the window covers no
    // more of it than its width takes.
    const int room = std::max(available.right() - main.right(), main.left() - available.left());
    if (room >= analysis.width())
        QVERIFY(!analysis.intersects(main));
    else
        QCOMPARE(analysis.intersected(main).width(),
                 std::min(main.width(), analysis.width() - room));
}

// Texts read from the left, numbers and times from the right, in every table of the window.
void TestAnalysisWindow::columnsReadAsTheirTexts()
{
    const QRegularExpression number(u"^[-+±0-9:. ()]+$"_s);
    int checked = 0;
    for (const QTableWidget* shown : m_window->findChildren<QTableWidget*>()) {
        for (int r = 0; r < shown->rowCount(); ++r) {
            for (int c = 0; c < shown->columnCount(); ++c) {
                const QTableWidgetItem* item = shown->item(r, c);
                if (!item || item->text().isEmpty() || item->text() == u"—"_s)
                    continue;
                const Qt::Alignment expected =
                    number.match(item->text()).hasMatch() ? Qt::AlignRight : Qt::AlignLeft;
                QVERIFY2((Qt::Alignment(item->textAlignment()) & Qt::AlignHorizontal_Mask) ==
                             expected,
                         qPrintable(shown->objectName() + u": "_s + item->text()));
                ++checked;
            }
        }
    }
    QVERIFY(checked > 40);
}

// Every target of the predictions is in view without scrolling, on any screen the tests run
// on (a 1366 x 600 one among them); the one unreadable row takes one row's height.
void TestAnalysisWindow::everyPredictionInView()
{
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTableWidget* predictions = table(u"PredictionTable"_s);
    QCOMPARE(predictions->rowCount(), 5);
    QTRY_COMPARE(predictions->verticalScrollBar()->maximum(), 0);
    const int last = predictions->rowCount() - 1;
    QCOMPARE(predictions->item(last, 0)->text(), u"フル"_s);
    const QRect row = predictions->visualItemRect(predictions->item(last, 0));
    const QRect inWindow(predictions->viewport()->mapTo(m_window, row.topLeft()), row.size());
    QVERIFY2(m_window->rect().contains(inWindow),
             qPrintable(u"%1 %2"_s.arg(inWindow.bottom()).arg(m_window->height())));

    QTableWidget* unreadable = table(u"UnreadableTable"_s);
    QCOMPARE(unreadable->rowCount(), 1);
    QCOMPARE(unreadable->verticalScrollBar()->maximum(), 0);
    QVERIFY(unreadable->viewport()->height() <
            2 * unreadable->verticalHeader()->defaultSectionSize());
}

QTEST_MAIN(TestAnalysisWindow)
#include "tst_analysis_window.moc"

namespace {

// A half in 1:39:10: 5 km at 5:00/km, 10 km in 43:40 (2 km at 4:30/km, 8 km at 4:20/km),
// then 5:00/km again; each 100 m of the 10 km faster by the seconds given.
QByteArray halfWithSurge(int faster = 0, int extraPoints = 0)
{
    const QList<int> seconds = QList<int>(50, 30) + QList<int>(20, 27 - faster) +
                               QList<int>(80, 26 - faster) + QList<int>(61 + extraPoints, 30);
    return test::gpxFile(test::gpxRun(seconds));
}

} // namespace

void TestAnalysisWindow::effortsFromDataFiles_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("tenKm"); // the 10 km row's time in a window opened after

    QTest::newRow("nothing changed: from the cache") << u"none"_s << u"43:40"_s;
    QTest::newRow("other bytes of the same size and time: the cache is trusted")
        << u"same key"_s << u"43:40"_s;
    QTest::newRow("a new modification time: read again") << u"time"_s << u"42:00"_s;
    QTest::newRow("a new size: read again") << u"size"_s << u"42:00"_s;
    QTest::newRow("a damaged cache is ignored") << u"damaged cache"_s << u"43:40"_s;
    QTest::newRow("a cache entry that does not hold up is ignored") << u"bad entry"_s << u"43:40"_s;
}

// The fastest 10 km of the book is inside the half, not the 10 km race; a damaged and a
// missing file are counted, not shown.
void TestAnalysisWindow::effortsFromDataFiles()
{
    QFETCH(QString, change);
    QFETCH(QString, tenKm);

    const QString half = m_main->environment.filePath(u"half.gpx"_s);
    const QString ten = m_main->environment.filePath(u"ten.gpx"_s);
    const QString broken = m_main->environment.filePath(u"broken.fit"_s);
    QVERIFY(test::writeFile(half, halfWithSurge()));
    QVERIFY(test::writeFile(ten, test::gpxFile(test::gpxRun(QList<int>(100, 27)))));
    QVERIFY(test::writeFile(broken, "not a data file"));
    RecordModel& model = m_main->form->recordBook().model();
    model.setRecords(QList<RaceRecord>{
        {u"1"_s,
         u"2024年04月14日"_s,
         u"春のハーフ"_s,
         u"21.0975km"_s,
         u" 1時間39分30秒"_s,
         {},
         half},
        {u"2"_s, u"2024年10月06日"_s, u"秋の10km"_s, u"10km"_s, u"  45分 0秒"_s, {}, ten},
        {u"3"_s, u"2024年06月01日"_s, u"壊れた"_s, u"5km"_s, u"  22分 0秒"_s, {}, broken},
        {u"4"_s,
         u"2024年07月01日"_s,
         u"消えた"_s,
         u"5km"_s,
         u"  22分 0秒"_s,
         {},
         m_main->environment.filePath(u"gone.fit"_s)},
        {u"5"_s, u"2024年08月01日"_s, u"ファイルなし"_s, u"5km"_s, u"  23分 0秒"_s, {}, {}}});
    QTRY_VERIFY(!m_window->refreshPending() && !m_window->readingEfforts());

    QCOMPARE(column(u"EffortTable"_s, 0),
             (QStringList{u"1ﾏｲﾙ"_s, u"5km"_s, u"10km"_s, u"ハーフ"_s}));
    QCOMPARE(row(u"EffortTable"_s, 2),
             (QStringList{u"10km"_s, u"43:40"_s, u"4:22"_s, u"2024年04月14日"_s, u"春のハーフ"_s,
                          u"5.00km"_s}));
    QCOMPARE(m_window->findChild<QLabel*>(u"EffortProgress"_s)->text(),
             u"データファイル 2件から（読めないファイル 2件）"_s);

    const QString cache = EffortCache::defaultPath();
    QVERIFY(QFileInfo::exists(cache));
    const QDateTime modified = QFileInfo(half).lastModified();
    if (change == u"same key" || change == u"time") {
        QVERIFY(test::writeFile(half, halfWithSurge(1)));
        QCOMPARE(QFileInfo(half).size(), halfWithSurge().size());
        QFile file(half);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(change == u"time" ? modified.addSecs(60) : modified,
                                 QFileDevice::FileModificationTime));
    } else if (change == u"size") {
        QVERIFY(test::writeFile(half, halfWithSurge(1, 5)));
    } else if (change == u"damaged cache") {
        QVERIFY(test::writeFile(cache, test::readFile(cache).chopped(7) + "\x81\xff{"));
    } else if (change == u"bad entry") {
        const std::optional<QHash<EffortKey, FileEfforts>> entries =
            EffortCache::parse(test::readFile(cache));
        QVERIFY(entries && entries->size() == 3);
        QHash<EffortKey, FileEfforts> bad = *entries;
        for (FileEfforts& efforts : bad) {
            if (efforts.efforts.size() > 4)
                efforts.efforts[4].seconds = -1;
        }
        QVERIFY(test::writeFile(cache, EffortCache::serialise(bad)));
    }

    // A second window reads the cache from the file, and the files it does not trust.
    AnalysisWindow second(model, {m_main->dialogs, {}, {}, nullptr});
    QTRY_VERIFY(!second.readingEfforts());
    QCOMPARE(test::rowTexts(second.findChild<QTableWidget*>(u"EffortTable"_s), 2).at(1), tenKm);
}

// The reading runs on after the window is gone and touches nothing of it; under the
// sanitizers this is where a dangling window would show.
void TestAnalysisWindow::closesWhileReading()
{
    QList<RaceRecord> records;
    for (int i = 0; i < 40; ++i) {
        const QString path = m_main->environment.filePath(u"race-%1.gpx"_s.arg(i));
        QVERIFY(test::writeFile(path, halfWithSurge()));
        records.append({QString::number(i + 1),
                        u"2024年04月14日"_s,
                        u"春のハーフ"_s,
                        u"21.0975km"_s,
                        u" 1時間39分30秒"_s,
                        {},
                        path});
    }
    m_main->form->recordBook().model().setRecords(records);
    m_window->refresh();
    QVERIFY(m_window->readingEfforts());
    QVERIFY(m_window->findChild<QLabel*>(u"EffortProgress"_s)
                ->text()
                .startsWith(u"データファイルを読み込み中… 0 / 40件"_s));
    delete m_window;
    m_window = nullptr;
    for (QThreadPool* pool : qApp->findChildren<QThreadPool*>())
        QVERIFY(pool->waitForDone(60'000));
    QCoreApplication::processEvents();
}
