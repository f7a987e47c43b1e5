#include "history/archive_reader.h"
#include "history/book_match.h"
#include "history/history_scan.h"
#include "support/file_helpers.h"
#include "support/history_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvanu;
using torvanu::test::FileEntry;

namespace {

const QTimeZone kTokyo(QByteArrayLiteral("Asia/Tokyo"));

QDateTime utc(const QString& text)
{
    return QDateTime::fromString(text, Qt::ISODate);
}

// A runner's export: a 10 km race, a training run, a ride of a half's length, a named GPX and
// the service's list, whose names hold commas, quotes and line breaks.
QList<FileEntry> exportEntries()
{
    const QByteArray csv = "Activity ID,Activity Date,Activity Name,Activity Type,Filename\r\n"
                           "1,\"Apr 14, 2024\",\"Spring 10K, \"\"fast\"\"\nsecond line\",Run,"
                           "activities/1.fit.gz\r\n"
                           "2,\"Apr 16, 2024\",\"Easy, slow\",Run,activities/2.fit\r\n";
    return {
        {u"activities.csv"_s, csv},
        {u"activities/1.fit.gz"_s, test::fitActivity(utc(u"2024-04-14T00:30:00Z"_s), 2400, 10020)},
        {u"activities/2.fit"_s, test::fitActivity(utc(u"2024-04-16T21:00:00Z"_s), 2700, 7300)},
        {u"activities/3.fit"_s,
         test::fitActivity(utc(u"2024-04-20T01:00:00Z"_s), 2700, 21097.5, 2)},
        {u"activities/4.gpx"_s,
         test::namedGpx(u"朝ラン"_s, utc(u"2024-04-21T22:00:00Z"_s), 1800, 5000)},
    };
}

// One line per activity: file, state, name, ticked; as the window would start.
QStringList summary(const QList<FoundRow>& rows, const QString& root)
{
    QStringList lines;
    for (const FoundRow& row : rows) {
        QString file = row.activity.file;
        if (!root.isEmpty() && file.startsWith(root))
            file = file.sliced(root.size() + 1);
        const QString state = row.state == FoundRow::State::New        ? u"新規"_s
                              : row.state == FoundRow::State::Recorded ? u"記録済み"_s
                                                                       : u"読めない"_s;
        lines.append(u"%1|%2|%3|%4"_s.arg(file, state,
                                          row.state == FoundRow::State::Unreadable
                                              ? row.activity.problem.left(11)
                                              : row.activity.name,
                                          row.preselected ? u"x"_s : u"-"_s));
    }
    return lines;
}

struct Source
{
    QString path;
    QString root; // what the files' paths start with
};

Source makeSource(const QTemporaryDir& dir, const QList<FileEntry>& entries, bool archive,
                  const QString& damaged = {})
{
    if (archive) {
        const QString path = dir.filePath(u"export.zip"_s);
        test::writeFile(path, test::zipArchive(entries, damaged));
        return {path, QString()};
    }
    const QString folder = dir.filePath(u"watch"_s);
    test::writeTree(folder, entries);
    // A link back up: followed, it would never end.
    QFile::link(folder, folder + u"/activities/loop"_s);
    return {folder, QFileInfo(folder).absoluteFilePath()};
}

} // namespace

class TestHistoryScan : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
    void badArchive_data();
    void badArchive();
    void cancelKeepsWhatWasRead();
};

void TestHistoryScan::scan_data()
{
    QTest::addColumn<QList<FileEntry>>("entries");
    QTest::addColumn<bool>("archive");
    QTest::addColumn<QString>("damaged");
    QTest::addColumn<QList<RaceRecord>>("book");
    QTest::addColumn<QStringList>("expected");

    const QStringList fresh{
        u"activities/1.fit.gz|新規|Spring 10K, \"fast\"\nsecond line|x"_s,
        u"activities/2.fit|新規|Easy, slow|-"_s,
        u"activities/3.fit|新規||-"_s,
        u"activities/4.gpx|新規|朝ラン|-"_s,
    };
    // fitActivity writes plain FIT even under a .gz name: the reader goes by the bytes.
    QTest::newRow("folder: the race preselected, names from the export's list")
        << exportEntries() << false << QString() << QList<RaceRecord>() << fresh;
    QTest::newRow("archive: the same, read in place")
        << exportEntries() << true << QString() << QList<RaceRecord>() << fresh;

    QList<FileEntry> hostile = exportEntries();
    QByteArray noise(4000, '\0'); // stored as it is, so the damage is in its data
    quint32 seed = 1;
    for (char& byte : noise)
        byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 24);
    hostile.append({u"activities/5.fit"_s, noise});
    hostile.append({u"../6.fit"_s, test::fitActivity(utc(u"2024-05-01T00:00:00Z"_s), 600, 2000)});
    QStringList hostileRows = fresh;
    hostileRows.append(u"activities/5.fit|読めない|アーカイブの中で壊れて|-"_s);
    hostileRows.append(u"../6.fit|読めない|アーカイブの外を指すパ|-"_s);
    QTest::newRow("archive: a damaged member and a ../ member are lines of their own")
        << hostile << true << u"activities/5.fit"_s << QList<RaceRecord>() << hostileRows;

    RaceRecord sameRace; // the chip's time and the course's distance, within 1 %
    sameRace.raceDate = u"2024年04月14日"_s;
    sameRace.distance = u"10km"_s;
    sameRace.raceTime = u"  40分10秒"_s;
    RaceRecord otherDay = sameRace;
    otherDay.raceDate = u"2024年04月13日"_s;
    RaceRecord sameFile;
    sameFile.raceDate = u"2020年01月01日"_s;
    sameFile.dataPath = u"{data}/activities/2.fit"_s;
    QStringList recorded = fresh;
    recorded[0] = u"activities/1.fit.gz|記録済み|Spring 10K, \"fast\"\nsecond line|-"_s;
    recorded[1] = u"activities/2.fit|記録済み|Easy, slow|-"_s;
    QTest::newRow("archive: the book's race and the file it imported are already there")
        << exportEntries() << true << QString() << QList<RaceRecord>{otherDay, sameRace, sameFile}
        << recorded;
    QTest::newRow("folder: a race a day off is not the same race")
        << exportEntries() << false << QString() << QList<RaceRecord>{otherDay} << fresh;
}

void TestHistoryScan::scan()
{
    QFETCH(QList<FileEntry>, entries);
    QFETCH(bool, archive);
    QFETCH(QString, damaged);
    QFETCH(QList<RaceRecord>, book);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    const Source source = makeSource(dir, entries, archive, damaged);
    const QString dataFolder = dir.filePath(u"data"_s);
    for (RaceRecord& record : book)
        record.dataPath.replace(u"{data}"_s, dataFolder);

    ScanControl control;
    const HistoryScan scan = scanHistory(source.path, control);
    QCOMPARE(scan.problem, QString());
    QVERIFY(!scan.cancelled);
    QCOMPARE(control.filesRead.load(), control.filesFound.load());
    QCOMPARE(summary(matchWithBook(scan, book, dataFolder, kTokyo), source.root), expected);
    // Reading wrote nothing: the folder holds what the test put there.
    QVERIFY(!QFileInfo::exists(dataFolder));
}

void TestHistoryScan::badArchive_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem"); // the one message, or the one line's state
    QTest::addColumn<int>("rows");

    QTest::newRow("not an archive, named as one")
        << QByteArray("PK\x03\x04 but nothing after") << u"アーカイブを読めません"_s << 0;

    QList<FileEntry> many;
    for (int i = 0; i <= kMaxArchiveMembers; ++i)
        many.append({u"a/%1.txt"_s.arg(i), QByteArray()});
    QTest::newRow("one member more than 100,000")
        << test::zipArchive(many) << u"上限の100,000個"_s << 0;

    QTest::newRow("a member past 64 MiB once decompressed")
        << test::zipArchive({{u"big.fit"_s, QByteArray(qsizetype(kMaxMemberBytes) + 1, '\0')}})
        << u"上限の64 MiB"_s << 1;
}

void TestHistoryScan::badArchive()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QFETCH(int, rows);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.zip"_s);
    QVERIFY(test::writeFile(path, bytes));
    ScanControl control;
    const HistoryScan scan = scanHistory(path, control);
    QCOMPARE(scan.found.size(), rows);
    const QString said = rows > 0 ? scan.found.first().problem : scan.problem;
    QVERIFY2(said.contains(problem), qPrintable(said));
}

void TestHistoryScan::cancelKeepsWhatWasRead()
{
    QTemporaryDir dir;
    QList<FileEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.append({u"run%1.fit"_s.arg(i, 2, 10, QChar(u'0')),
                        test::fitActivity(utc(u"2024-01-01T00:00:00Z"_s).addDays(i), 3000, 10000)});
    for (const bool archive : {false, true}) {
        const Source source = makeSource(dir, entries, archive);
        ScanControl control;
        control.afterFile = [&control](qsizetype read) {
            if (read == 5)
                control.cancel.store(true);
        };
        const HistoryScan scan = scanHistory(source.path, control, 1);
        QVERIFY(scan.cancelled);
        QCOMPARE(scan.problem, QString());
        QCOMPARE(control.filesFound.load(), 40);
        QVERIFY2(scan.found.size() >= 5 && scan.found.size() < 10,
                 qPrintable(QString::number(scan.found.size())));
    }
}

QTEST_GUILESS_MAIN(TestHistoryScan)
#include "tst_history_scan.moc"
