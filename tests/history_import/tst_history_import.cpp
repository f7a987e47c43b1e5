#include "analysis/book_analysis.h"
#include "history_import/history_import_window.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "record_book/record_book.h"
#include "storage/text_bridge.h"
#include "support/file_helpers.h"
#include "support/history_files.h"
#include "support/main_window_fixture.h"
#include "views/import/history_table.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvanu;
using torvanu::test::FileEntry;

namespace {

QDateTime utc(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

// A marathon named in the export's list, a half whose file name code page 932 cannot hold,
// and a training run. Noon UTC: the same day in every zone a test may run in.
QList<FileEntry> history()
{
    return {
        {u"activities.csv"_s, QByteArray("Filename,Activity Name\n"
                                         "races/tokyo.fit,\"東京マラソン, 2024\"\n")},
        {u"races/tokyo.fit"_s, test::fitActivity(utc(u"2024-03-03T12:00:00Z"_s), 11131, 42195)},
        {u"races/🏃 half.fit"_s, test::fitActivity(utc(u"2024-05-05T12:00:00Z"_s), 5400, 21100)},
        {u"training.fit"_s, test::fitActivity(utc(u"2024-05-07T12:00:00Z"_s), 2700, 7300)},
    };
}

struct Read
{
    int day = 0;
    double metres = 0;
    double seconds = 0;
};

// What the record analysis reads from the book's rows.
QList<Read> analysed(const RecordModel& model)
{
    QList<RaceRecord> records;
    std::vector<RaceRow> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        records.append(model.record(row));
    for (const RaceRecord& record : records)
        rows.push_back({toU16(record.raceDate), toU16(record.raceName), toU16(record.distance),
                        toU16(record.raceTime)});
    QList<Read> read;
    for (const Race& race : analyseBook(rows).races)
        read.append({race.day, race.metres, race.seconds});
    return read;
}

} // namespace

class TestHistoryImport : public QObject
{
    Q_OBJECT

private slots:
    void addsTickedRaces_data();
    void addsTickedRaces();
};

void TestHistoryImport::addsTickedRaces_data()
{
    QTest::addColumn<bool>("archive");
    QTest::newRow("a watch's folder") << false;
    QTest::newRow("an export archive") << true;
}

void TestHistoryImport::addsTickedRaces()
{
    QFETCH(bool, archive);
    test::MainWindowFixture fixture;
    QVERIFY(fixture.start({}));
    const QString dataFolder = fixture.environment.path();
    QTemporaryDir outside;
    QString source = outside.filePath(u"watch"_s);
    QVERIFY(test::writeTree(source, history()));
    if (archive) {
        source = outside.filePath(u"export.zip"_s);
        QVERIFY(test::writeFile(source, test::zipArchive(history())));
    }

    // One window, however often it is asked for.
    auto* entry = fixture.form->findChild<QAction*>(u"mnHistoryImport"_s);
    QVERIFY(entry);
    entry->trigger();
    entry->trigger();
    const QList<HistoryImportWindow*> windows =
        fixture.form->findChildren<HistoryImportWindow*>(u"HistoryImport"_s);
    QCOMPARE(windows.size(), 1);
    HistoryImportWindow& window = *windows.first();
    QVERIFY(!window.isModal());

    const auto scan = [&window](const QString& path) {
        QSignalSpy finished(&window, &HistoryImportWindow::scanFinished);
        window.findChild<QLineEdit*>(u"SourcePath"_s)->setText(QDir::toNativeSeparators(path));
        QTest::mouseClick(window.findChild<QPushButton*>(u"ScanButton"_s), Qt::LeftButton);
        return finished.wait(60'000);
    };
    QVERIFY(scan(source));
    RecordModel& book = fixture.form->findChild<RecordBook*>()->model();
    QCOMPARE(window.table().rowCount(), 3);
    QCOMPARE(book.rowCount(), 0); // nothing without the click

    // By the keyboard alone: Tab leaves the table for the buttons, Space presses the one to add.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* add = window.findChild<QPushButton*>(u"AddButton"_s);
    window.findChild<QTableView*>(u"FoundTable"_s)->setFocus();
    for (int tab = 0; tab < 8 && QApplication::focusWidget() != add; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), add);
    QTest::keyClick(add, Qt::Key_Space);
    // In date order; the training run was not ticked.
    const QList<Read> read = analysed(book);
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].day, QDate(2024, 3, 3).toJulianDay() - QDate(1970, 1, 1).toJulianDay());
    QCOMPARE(read[0].metres, 42195.0);
    QCOMPARE(read[0].seconds, 11131.0);
    QCOMPARE(read[1].day, QDate(2024, 5, 5).toJulianDay() - QDate(1970, 1, 1).toJulianDay());
    QCOMPARE(read[1].metres, 21100.0);
    QCOMPARE(read[1].seconds, 5400.0);
    QCOMPARE(book.record(0).raceName, u"東京マラソン， 2024"_s);

    // The copies are in the data folder, the name code page 932 cannot hold made safe; the
    // rows point at them.
    const QDir copies(dataFolder + u"/activities"_s);
    const QStringList copied = copies.entryList(QDir::Files, QDir::Name);
    QCOMPARE(copied.size(), 2);
    QVERIFY(copied.contains(u"tokyo.fit"_s));
    QCOMPARE(QDir::fromNativeSeparators(book.record(0).dataPath), copies.filePath(u"tokyo.fit"_s));
    QVERIFY(copied.filter(u"activity-"_s).size() == 1);
    QCOMPARE(test::readFile(book.record(1).dataPath), history()[2].second);

    // The journal holds them as it holds the editor's rows.
    const JournalReadResult journal =
        RecordJournal::read(QDir(dataFolder).filePath(RecordJournal::kFileName.toString()));
    QCOMPARE(journal.changes.size(), 2);
    QCOMPARE(journal.changes[1].kind, RecordChange::Kind::Add);
    QCOMPARE(journal.changes[1].record, book.record(1));

    // Read again, the same races are in the book; the copies read from the data folder are
    // the book's own files, not copied again.
    QVERIFY(scan(source));
    for (int row = 0; row < window.table().rowCount(); ++row)
        QVERIFY(!window.table().isTicked(row));
    QVERIFY(scan(copies.path()));
    QCOMPARE(window.table().rowCount(), 2);
    for (const FoundRow& row : window.table().rows())
        QCOMPARE(row.state, FoundRow::State::Recorded);
    QCOMPARE(copies.entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(TestHistoryImport)
#include "tst_history_import.moc"
