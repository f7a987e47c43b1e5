#include "records/cp932_line_reader.h"
#include "records/log_file.h"
#include "support/file_helpers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using torvanu::Cp932LineReader;
using torvanu::LogComparison;
using torvanu::LogFile;
using torvanu::LogFileError;
using torvanu::LogLine;
using torvanu::RaceRecord;
using torvanu::test::cp932;
using torvanu::test::readFile;
using torvanu::test::writeFile;

namespace {

QList<LogLine> linesOf(const QStringList& texts)
{
    QList<LogLine> lines;
    for (const QString& text : texts)
        lines.append(*LogLine::parse(text));
    return lines;
}

QStringList textsOf(const QList<LogLine>& lines)
{
    QStringList texts;
    for (const LogLine& line : lines)
        texts.append(line.text());
    return texts;
}

const QString Example =
    u"3,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,C:\\Data\\race3.csv"_s;

} // namespace

class TestLogFile : public QObject
{
    Q_OBJECT

private slots:
    void readerChunks_data();
    void readerChunks();
    void load_data();
    void load();
    void loadFailure();
    void roundTrip_data();
    void roundTrip();
    void compare_data();
    void compare();
    void backup_data();
    void backup();
    void saveFailure_data();
    void saveFailure();
    void undecodableRow_data();
    void undecodableRow();
    void unreadableNumberBesideDeleteByte();
    void recovery_data();
    void recovery();
    void recoveryNames();
    void hiddenLines_data();
    void hiddenLines();
    void copiesAsPrivateAsTheBook_data();
    void copiesAsPrivateAsTheBook();
};

void TestLogFile::readerChunks_data()
{
    QTest::addColumn<int>("chunkSize");
    for (const int size : {1, 2, 3, 5, 64, 4096})
        QTest::addRow("chunks of %d bytes", size) << size;
}

void TestLogFile::readerChunks()
{
    // Line ends and two-byte characters must come out the same wherever a read stops.
    QFETCH(int, chunkSize);
    const QByteArray bytes =
        cp932(u"a,市民マラソン\r\n\r\nb\rc\r\r\n自己ベスト\nd"_s) + "\x82\xA0\x85\x40\r\nz";

    QBuffer buffer;
    buffer.setData(bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    Cp932LineReader reader(buffer, chunkSize);
    QVERIFY(reader.isValid());

    QStringList texts;
    QByteArray joined;
    Cp932LineReader::Line line;
    while (reader.next(line)) {
        joined.append(line.bytes).append(line.terminator);
        // Handed over or copied, depending on where the read stopped: the same text.
        texts.append(reader.takeText(line));
    }
    QVERIFY(!reader.hasReadError());
    QCOMPARE(joined, bytes);
    QCOMPARE(texts, (QStringList{u"a,市民マラソン"_s, QString(), u"b"_s, u"c"_s, QString(),
                                 u"自己ベスト"_s, u"d\u3042\uFFFD"_s, u"z"_s}));
    QVERIFY(!reader.decodedCleanly());
}

void TestLogFile::load_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("clean");

    QTest::newRow("CR LF lines numbered from one, field 0 ignored")
        << cp932(
               u"7,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,\r\n9,a,b,c,d,e,C:\\x.csv\r\n"_s)
        << QStringList{u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,"_s,
                       u"2,a,b,c,d,e,C:\\x.csv"_s}
        << true;
    QTest::newRow("lone LF and lone CR end lines")
        << QByteArray("1,a,b,c,d,e,\n2,f,g,h,i,j,\r3,k,l,m,n,o,\r\n")
        << QStringList{u"1,a,b,c,d,e,"_s, u"2,f,g,h,i,j,"_s, u"3,k,l,m,n,o,"_s} << true;
    QTest::newRow("short and empty lines skipped")
        << QByteArray("1,a,b,c,d,e,\r\n2,a,b,c,d\r\n\r\n3,f,g,h,i,j,\r\n")
        << QStringList{u"1,a,b,c,d,e,"_s, u"2,f,g,h,i,j,"_s} << true;
    QTest::newRow("last line without line end")
        << QByteArray("1,a,b,c,d,e,\r\n2,f,g,h,i,j,x")
        << QStringList{u"1,a,b,c,d,e,"_s, u"2,f,g,h,i,j,x"_s} << true;
    QTest::newRow("NEC and IBM forms read as the same character")
        << QByteArray("1,\xED\x40,\xFA\x5C,c,d,e,\r\n") << QStringList{u"1,\u7E8A,\u7E8A,c,d,e,"_s}
        << true;
    QTest::newRow("unassigned pair read as replacement, not clean")
        << QByteArray("1,a\x85\x40,b,c,d,e,\r\n") << QStringList{u"1,a\uFFFD,b,c,d,e,"_s} << false;
    QTest::newRow("lead byte before CR LF does not swallow the line end")
        << QByteArray("1,a,b,c,d,e,\x82\r\n2,f,g,h,i,j,\r\n")
        << QStringList{u"1,a,b,c,d,e,\uFFFD"_s, u"2,f,g,h,i,j,"_s} << false;
    QTest::newRow("lead byte at the very end")
        << QByteArray("1,a,b,c,d,e,\x82") << QStringList{u"1,a,b,c,d,e,\uFFFD"_s} << false;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
}

void TestLogFile::load()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(bool, clean);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(u"log.dat"_s), bytes));
    LogFile file(dir.path());
    QVERIFY(file.exists());

    const torvanu::LogLoadResult result = file.load();
    QVERIFY(!result.error);
    QCOMPARE(textsOf(result.lines), rows);
    QCOMPARE(result.decodedCleanly, clean);
}

void TestLogFile::loadFailure()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"log.dat"_s));
    LogFile file(dir.path());
    const torvanu::LogLoadResult result = file.load();
    QVERIFY(result.error);
    QCOMPARE(result.error->kind, LogFileError::Kind::Read);
}

void TestLogFile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("written"); // null: the same bytes
    QTest::addColumn<bool>("backup");

    QTest::newRow("CR LF file") << cp932(u'1' + Example.mid(1) + u"\r\n2,a,b,c,d,e,\r\n"_s)
                                << QByteArray() << false;
    QTest::newRow("NEC-selected IBM form ED40 kept")
        << QByteArray("1,\xED\x40,b,c,d,e,\r\n2,\xFA\x5C,b,c,d,e,\r\n") << QByteArray() << false;
    QTest::newRow("NEC row 13 form 8790 kept")
        << QByteArray("1,\x87\x90,b,c,d,e,\r\n") << QByteArray() << false;
    QTest::newRow("lone LF lines written back with CR LF")
        << QByteArray("1,a,b,c,d,e,\n2,f,g,h,i,j,\n")
        << QByteArray("1,a,b,c,d,e,\r\n2,f,g,h,i,j,\r\n") << true;
    QTest::newRow("lone CR and a missing last line end written with CR LF")
        << QByteArray("1,a,b,c,d,e,\r2,f,g,h,i,j,")
        << QByteArray("1,a,b,c,d,e,\r\n2,f,g,h,i,j,\r\n") << true;
    QTest::newRow("undecodable line kept: the same bytes leave the file alone")
        << QByteArray("1,a\x85\x40,b,c,d,e,\r\n2,a,b,c,d,e,\x82\r\n") << QByteArray() << false;
    QTest::newRow("undecodable line with a lone LF keeps its bytes, not its line end")
        << QByteArray("1,a\x85\x40,b,c,d,e,\n") << QByteArray("1,a\x85\x40,b,c,d,e,\r\n") << true;
}

void TestLogFile::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);
    QFETCH(bool, backup);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"log.dat"_s);
    QVERIFY(writeFile(path, bytes));
    LogFile file(dir.path());

    const torvanu::LogLoadResult loaded = file.load();
    QVERIFY(!loaded.error);
    QCOMPARE(file.compare(loaded.lines).comparison, LogComparison::Unchanged);

    const torvanu::LogSaveResult saved = file.save(loaded.lines);
    QVERIFY(!saved.error);
    QCOMPARE(readFile(path), written.isNull() ? bytes : written);
    QCOMPARE(saved.backupWritten, backup);
    QCOMPARE(QFile::exists(file.backupFilePath()), backup);
}

void TestLogFile::compare_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<LogComparison>("expected");

    const QStringList first{u"1"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, QString()};
    const QStringList second{u"2"_s, u"f"_s, u"g"_s, u"h"_s, u"i"_s, u"j"_s, u"C:\\a,b\\x.csv"_s};
    const QByteArray both("1,a,b,c,d,e,\r\n2,f,g,h,i,j,C:\\a,b\\x.csv\r\n");

    QTest::newRow("no file, no comparison")
        << QByteArray() << QList<QStringList>{first} << LogComparison::NoFile;
    QTest::newRow("same records") << both << QList<QStringList>{first, second}
                                  << LogComparison::Unchanged;
    QTest::newRow("empty file, empty list")
        << QByteArray("") << QList<QStringList>{} << LogComparison::Unchanged;
    QTest::newRow("empty file, one row")
        << QByteArray("") << QList<QStringList>{first} << LogComparison::Changed;
    QTest::newRow("field 0 reads 5 where the row reads 1")
        << QByteArray("5,a,b,c,d,e,\r\n") << QList<QStringList>{first} << LogComparison::Changed;
    // Written back as it is, so it alone is no change.
    QTest::newRow("short line between good lines is kept, not a change")
        << QByteArray("1,a,b,c,d,e,\r\n1,2,3\r\n2,f,g,h,i,j,C:\\a,b\\x.csv\r\n")
        << QList<QStringList>{first, second} << LogComparison::Unchanged;
    QTest::newRow("empty line at the end")
        << (both + "\r\n") << QList<QStringList>{first, second} << LogComparison::Changed;
    QTest::newRow("one row more than lines")
        << QByteArray("1,a,b,c,d,e,\r\n") << QList<QStringList>{first, second}
        << LogComparison::Changed;
    QTest::newRow("one line more than rows")
        << both << QList<QStringList>{first} << LogComparison::Changed;
    QTest::newRow("data path differs")
        << QByteArray("1,a,b,c,d,e,x\r\n") << QList<QStringList>{first} << LogComparison::Changed;
    QTest::newRow("two trailing commas match a path of one comma")
        << QByteArray("1,a,b,c,d,e,,\r\n")
        << QList<QStringList>{{u"1"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u","_s}}
        << LogComparison::Unchanged;
    QTest::newRow("comma in a distance is compared field by field")
        << QByteArray("1,a,b,4,2km,t,r,\r\n")
        << QList<QStringList>{{u"1"_s, u"a"_s, u"b"_s, u"4,2km"_s, u"t"_s, u"r"_s, QString()}}
        << LogComparison::Changed;
    QTest::newRow("lone LF lines compare like CR LF lines")
        << QByteArray("1,a,b,c,d,e,\n2,f,g,h,i,j,C:\\a,b\\x.csv")
        << QList<QStringList>{first, second} << LogComparison::Unchanged;
}

void TestLogFile::compare()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QFETCH(LogComparison, expected);

    QTemporaryDir dir;
    if (!bytes.isNull())
        QVERIFY(writeFile(dir.filePath(u"log.dat"_s), bytes));
    QList<LogLine> lines;
    for (const QStringList& f : rows)
        lines.append(LogLine::fromRecord(RaceRecord{f[0], f[1], f[2], f[3], f[4], f[5], f[6]}));

    const torvanu::LogCompareResult result = LogFile(dir.path()).compare(lines);
    QVERIFY(!result.error);
    QCOMPARE(result.comparison, expected);
}

void TestLogFile::backup_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<bool>("backup");

    // Unchanged bytes write no backup: see roundTrip.
    const QByteArray old("1,a,b,c,d,e,\r\n2,f,g,h,i,j,\r\n");
    QTest::newRow("changed row: old file kept as backup")
        << old << QStringList{u"1,a,b,c,d,e,"_s, u"2,f,g,h,i,X,"_s}
        << QByteArray("1,a,b,c,d,e,\r\n2,f,g,h,i,X,\r\n") << true;
    QTest::newRow("short line of a file never loaded is not known: backup")
        << QByteArray("1,a,b,c,d,e,\r\nbroken\r\n") << QStringList{u"1,a,b,c,d,e,"_s}
        << QByteArray("1,a,b,c,d,e,\r\n") << true;
    QTest::newRow("all rows deleted: empty file after a backup")
        << old << QStringList{} << QByteArray() << true;
    QTest::newRow("no file before: created, nothing to back up")
        << QByteArray() << QStringList{Example} << (cp932(Example) + "\r\n") << false;
    QTest::newRow("sorted rows with NEC forms written in the standard form")
        << QByteArray("1,\xED\x40,b,c,d,e,\r\n2,a,b,c,d,e,\r\n")
        << QStringList{u"1,a,b,c,d,e,"_s, u"2,\u7E8A,b,c,d,e,"_s}
        << QByteArray("1,a,b,c,d,e,\r\n2,\xFA\x5C,b,c,d,e,\r\n") << true;
}

void TestLogFile::backup()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, written);
    QFETCH(bool, backup);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"log.dat"_s);
    if (!bytes.isNull())
        QVERIFY(writeFile(path, bytes));
    LogFile file(dir.path());

    const torvanu::LogSaveResult result = file.save(linesOf(rows));
    QVERIFY(!result.error);
    QCOMPARE(readFile(path), written);
    QCOMPARE(result.backupWritten, backup);
    QCOMPARE(QFile::exists(file.backupFilePath()), backup);
    if (backup)
        QCOMPARE(readFile(file.backupFilePath()), bytes);
}

enum class Obstacle
{
    ReadOnlyFile,
    UnwritableFolder,
    MissingFolder,
    BackupBlocked,
    Unencodable
};

void TestLogFile::saveFailure_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<LogFileError::Kind>("kind");
    QTest::addColumn<int>("row");

    QTest::newRow("read-only log.dat refused")
        << Obstacle::ReadOnlyFile << LogFileError::Kind::ReadOnly << 0;
    QTest::newRow("unwritable folder")
        << Obstacle::UnwritableFolder << LogFileError::Kind::Write << 0;
    QTest::newRow("missing folder") << Obstacle::MissingFolder << LogFileError::Kind::Write << 0;
    QTest::newRow("backup cannot be written")
        << Obstacle::BackupBlocked << LogFileError::Kind::Backup << 0;
    QTest::newRow("character code page 932 lacks, row named")
        << Obstacle::Unencodable << LogFileError::Kind::Encode << 2;
}

void TestLogFile::saveFailure()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(LogFileError::Kind, kind);
    QFETCH(int, row);

    QTemporaryDir dir;
    const QByteArray old("1,a,b,c,d,e,\r\n");
    const QString path = dir.filePath(u"log.dat"_s);
    QVERIFY(writeFile(path, old));
    QString folder = dir.path();
    QStringList rows{u"1,a,b,c,d,e,"_s, u"2,f,g,h,i,j,"_s};

    // Restores permissions even when a check fails, so the folder can be removed.
    struct Restore
    {
        QString folder, file;
        ~Restore()
        {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        }
    } restore{dir.path(), path};

    switch (obstacle) {
    case Obstacle::ReadOnlyFile:
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
        break;
    case Obstacle::UnwritableFolder: {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (writeFile(dir.filePath(u"probe"_s), "x"))
            QSKIP("this user can write into a folder without write permission");
        break;
    }
    case Obstacle::MissingFolder:
        folder = dir.filePath(u"missing"_s);
        break;
    case Obstacle::BackupBlocked:
        QVERIFY(QDir(folder).mkdir(u"log.dat.bak"_s));
        break;
    case Obstacle::Unencodable:
        rows[1] = u"2,f,g,h,i,\u00E9,"_s;
        break;
    }

    const torvanu::LogSaveResult result = LogFile(folder).save(linesOf(rows));
    QVERIFY(result.error);
    QCOMPARE(result.error->kind, kind);
    QCOMPARE(result.error->row, row);
    QCOMPARE(readFile(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"log.dat"_s});
}

void TestLogFile::unreadableNumberBesideDeleteByte()
{
    // The byte 0x7F reads as U+001A, which is also the converter's stand-in for bytes it
    // cannot read: a line holding both must still save, with its unreadable field 0
    // renumbered and the rest written back as it was.
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(u"log.dat"_s), QByteArray("\xFF"
                                                             "1,a,b,c,d,e,x\x7F\r\n")));
    LogFile file(dir.path());
    const torvanu::LogLoadResult loaded = file.load();
    QCOMPARE(loaded.lines.size(), 1);
    QVERIFY(!file.save(loaded.lines).error);
    QCOMPARE(readFile(file.filePath()), QByteArray("1,a,b,c,d,e,x\x7F\r\n"));
}

void TestLogFile::undecodableRow_data()
{
    QTest::addColumn<bool>("edit");
    QTest::newRow("moved row written with its own bytes") << false;
    QTest::newRow("edited row refused, not re-encoded") << true;
}

void TestLogFile::undecodableRow()
{
    QFETCH(bool, edit);

    QTemporaryDir dir;
    const QByteArray old("1,a\x85\x40,b,c,d,e,\r\n2,f,g,h,i,j,\r\n");
    QVERIFY(writeFile(dir.filePath(u"log.dat"_s), old));
    LogFile file(dir.path());
    QList<LogLine> lines = file.load().lines;
    QCOMPARE(lines.size(), 2);

    const LogLine first = lines[0];
    lines[0].setContentsFrom(lines[1]);
    lines[1].setContentsFrom(first);
    if (edit) {
        RaceRecord changed = lines[1].toRecord();
        changed.remarks = u"x"_s;
        lines[1].setContentsFrom(LogLine::fromRecord(changed));
    }

    const torvanu::LogSaveResult result = file.save(lines);
    if (edit) {
        QVERIFY(result.error);
        QCOMPARE(result.error->kind, LogFileError::Kind::Encode);
        QCOMPARE(result.error->row, 2);
        QCOMPARE(readFile(file.filePath()), old);
    } else {
        QVERIFY(!result.error);
        QCOMPARE(readFile(file.filePath()), QByteArray("1,f,g,h,i,j,\r\n2,a\x85\x40,b,c,d,e,\r\n"));
    }
}

void TestLogFile::recovery_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");

    QTest::newRow("code page 932 with CR LF") << QStringList{Example, u"2,a,b,c,d,e,"_s}
                                              << (cp932(Example) + "\r\n2,a,b,c,d,e,\r\n") << false;
    QTest::newRow("text code page 932 lacks: whole file UTF-8")
        << QStringList{Example, u"2,\u00E9,b,c,d,e,"_s}
        << ("\xEF\xBB\xBF" + Example.toUtf8() + "\r\n2,\xC3\xA9,b,c,d,e,\r\n") << true;
}

void TestLogFile::recovery()
{
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);

    QTemporaryDir dir;
    const QString folder = dir.filePath(u"app/data"_s); // created on demand
    const torvanu::LogRecoveryResult result = LogFile(folder).writeRecoveryCopy(
        folder, linesOf(rows), QDateTime({2026, 12, 7}, {15, 30}));
    QVERIFY(!result.error);
    QCOMPARE(result.path, QDir(folder).filePath(u"log-recovered-20261207-153000.dat"_s));
    QCOMPARE(result.utf8, utf8);
    QCOMPARE(readFile(result.path), bytes);
}

void TestLogFile::recoveryNames()
{
    QTemporaryDir dir;
    const QDateTime when({2026, 12, 7}, {15, 30, 5});
    const QList<LogLine> rows = linesOf({u"1,a,b,c,d,e,"_s});
    const QString first = LogFile(dir.path()).writeRecoveryCopy(dir.path(), rows, when).path;
    const QString second = LogFile(dir.path()).writeRecoveryCopy(dir.path(), rows, when).path;
    QCOMPARE(QFileInfo(first).fileName(), u"log-recovered-20261207-153005.dat"_s);
    QCOMPARE(QFileInfo(second).fileName(), u"log-recovered-20261207-153005-2.dat"_s);

    QVERIFY(writeFile(dir.filePath(u"blocked"_s), "x"));
    const torvanu::LogRecoveryResult blocked =
        LogFile(dir.path()).writeRecoveryCopy(dir.filePath(u"blocked/sub"_s), rows, when);
    QVERIFY(blocked.error);
    QVERIFY(blocked.path.isEmpty());
}

enum class RowEdit
{
    None,
    DeleteFirst,
    Reverse,
    ChangeFirst,
};

// Lines without the six commas are not rows but are written back with their own bytes after
// the row they followed, wherever that row goes; alone they never make the book "changed".
void TestLogFile::hiddenLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<RowEdit>("edit");
    QTest::addColumn<int>("hidden");
    QTest::addColumn<QByteArray>("written");

    const QByteArray book("# my races\r\n1,a,b,c,d,e,\r\nnote \x85\x40\r\n2,f,g,h,i,j,\r\n");
    QTest::newRow("unchanged: same bytes, undecodable note included")
        << book << RowEdit::None << 2 << book;
    QTest::newRow("rows reversed: the note follows its row")
        << book << RowEdit::Reverse << 2
        << QByteArray("# my races\r\n1,f,g,h,i,j,\r\n2,a,b,c,d,e,\r\nnote \x85\x40\r\n");
    QTest::newRow("its row deleted: the note goes to the end")
        << book << RowEdit::DeleteFirst << 2
        << QByteArray("# my races\r\n1,f,g,h,i,j,\r\nnote \x85\x40\r\n");
    QTest::newRow("its row changed: the note goes to the end")
        << book << RowEdit::ChangeFirst << 2
        << QByteArray("# my races\r\n1,X,b,c,d,e,\r\n2,f,g,h,i,j,\r\nnote \x85\x40\r\n");
    const QByteArray twins("1,a,b,c,d,e,\r\n2,a,b,c,d,e,\r\nafter the second\r\n");
    QTest::newRow("two identical rows: the line stays after the second")
        << twins << RowEdit::Reverse << 1 << twins;
    QTest::newRow("lines with their own line ends keep them")
        << QByteArray("1,a,b,c,d,e,\r\nx,y\nlast") << RowEdit::None << 2
        << QByteArray("1,a,b,c,d,e,\r\nx,y\nlast\r\n");
    // A log.dat linked to some other file is never emptied, nor rewritten, by a close.
    const QByteArray script("#!/bin/sh\necho hi\n");
    QTest::newRow("a file without a record: left as it is")
        << script << RowEdit::None << 2 << script;
}

void TestLogFile::hiddenLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(RowEdit, edit);
    QFETCH(int, hidden);
    QFETCH(QByteArray, written);

    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath(u"log.dat"_s), bytes));
    LogFile file(dir.path());
    const torvanu::LogLoadResult loaded = file.load();
    QVERIFY(!loaded.error);
    QCOMPARE(loaded.hiddenLines, hidden);
    QCOMPARE(file.compare(loaded.lines).comparison, LogComparison::Unchanged);

    QList<LogLine> rows = loaded.lines;
    switch (edit) {
    case RowEdit::None:
        break;
    case RowEdit::DeleteFirst:
        rows.removeFirst();
        break;
    case RowEdit::Reverse:
        std::reverse(rows.begin(), rows.end());
        break;
    case RowEdit::ChangeFirst:
        rows[0] = LogLine::fromRecord({u"1"_s, u"X"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, {}});
        break;
    }
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i].setNo(i + 1);
    QVERIFY(!file.save(rows).error);
    QCOMPARE(readFile(file.filePath()), written);
    QCOMPARE(QFile::exists(file.backupFilePath()), written != bytes);
}

enum class Copy
{
    Backup,
    Recovery,
    Aside,
    ChosenPath,
};

// Every copy of the records gets the book's permission bits, however open the umask or an
// older copy; the book reached through a symbolic link keeps the link and its target's bits.
void TestLogFile::copiesAsPrivateAsTheBook_data()
{
    QTest::addColumn<Copy>("copy");
    QTest::addColumn<bool>("throughLink");

    QTest::newRow("log.dat.bak") << Copy::Backup << false;
    QTest::newRow("recovery copy") << Copy::Recovery << false;
    QTest::newRow("the outside version kept aside") << Copy::Aside << false;
    QTest::newRow("a copy saved where the user chose") << Copy::ChosenPath << false;
    QTest::newRow("log.dat.bak of a book behind a link") << Copy::Backup << true;
}

void TestLogFile::copiesAsPrivateAsTheBook()
{
    QFETCH(Copy, copy);
    QFETCH(bool, throughLink);

    QTemporaryDir dir;
    const QFileDevice::Permissions privateBits = QFile::ReadOwner | QFile::WriteOwner;
    const QString target = dir.filePath(u"elsewhere.dat"_s);
    const QString book = dir.filePath(u"log.dat"_s);
    const QByteArray bytes("1,a,b,c,d,e,\r\n");
    QVERIFY(writeFile(throughLink ? target : book, bytes));
    if (throughLink)
        QVERIFY(QFile::link(target, book));
    QVERIFY(QFile::setPermissions(book, privateBits));
    // An older, open copy must not pass its bits on.
    QVERIFY(writeFile(dir.filePath(u"log.dat.bak"_s), "old"));
    QVERIFY(QFile::setPermissions(dir.filePath(u"log.dat.bak"_s),
                                  privateBits | QFile::ReadGroup | QFile::ReadOther));
    const mode_t oldMask = ::umask(0);

    LogFile file(dir.path());
    const torvanu::LogLoadResult loaded = file.load();
    QList<LogLine> rows = loaded.lines;
    rows.append(LogLine::fromRecord({u"2"_s, u"f"_s, u"g"_s, u"h"_s, u"i"_s, u"j"_s, {}}));
    QString made;
    switch (copy) {
    case Copy::Backup:
        QVERIFY(!file.save(rows).error);
        made = file.backupFilePath();
        break;
    case Copy::Recovery:
        made = file.writeRecoveryCopy(dir.filePath(u"recovered"_s), rows).path;
        break;
    case Copy::Aside:
        made = file.keepCurrentAside(QDateTime({2026, 1, 2}, {3, 4, 5})).path;
        QCOMPARE(QFileInfo(made).fileName(), u"log-outside-20260102-030405.dat"_s);
        break;
    case Copy::ChosenPath:
        made = dir.filePath(u"chosen.dat"_s);
        QVERIFY(!file.writeCopy(made, rows));
        break;
    }
    ::umask(oldMask);
    QVERIFY(!made.isEmpty());
    QCOMPARE(QFileInfo(made).permissions() & ~QFileDevice::Permissions(0x0F00), privateBits);
    QCOMPARE(QFileInfo(book).isSymLink(), throughLink);
    if (copy == Copy::Backup)
        QVERIFY(readFile(throughLink ? target : book).contains("2,f,g,h,i,j,"));
    QCOMPARE(QFileInfo(book).permissions() & ~QFileDevice::Permissions(0x0F00), privateBits);
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_log_file.moc"
