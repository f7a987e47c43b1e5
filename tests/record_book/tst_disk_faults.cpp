#include "records/log_file.h"
#include "record_book/record_book.h"
#include "record_book/record_book_texts.h"
#include "records/record_model.h"
#include "support/file_helpers.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using torvanu::Dialogs;
using torvanu::RaceRecord;
using torvanu::RecordBook;
using torvanu::test::cp932;
using torvanu::test::FileSizeLimit;
using torvanu::test::readFile;
using torvanu::test::ScriptedDialogs;
using torvanu::test::TestEnvironment;
using torvanu::test::writeFile;

namespace {

const QString kReadFailed = torvanu::kReadFailedMessage.toString();
const QString kSaveFailed = torvanu::kSaveFailedMessage.toString();
const QString kChanged = torvanu::kChangedQuestionFirst.toString() + u"\r\n"_s +
                         torvanu::kChangedQuestionSecond.toString();
const QString kRecoveredAt = u"保存できなかった記録は次のファイルに控えてあります："_s;
const QString kUnsaved = torvanu::kUnsavedWarning.toString();

const QString kFirst = u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,"_s;
const QString kSecond = u"2,2007年04月01日,春の10km,10km,  45分 9秒,,/home/runner/gps.csv"_s;
const RaceRecord kAdded{
    u"3"_s, u"2024年05月01日"_s, u"新しい大会"_s, u"5km"_s, u"  21分30秒"_s, u"雨"_s, {}};

// What stands at the place of log.dat, or happens to the folder, for one test row.
enum class Fault
{
    DiskFull,      // the disk fills while the new log.dat is written
    Folder,        // log.dat is a folder
    Fifo,          // log.dat is a named pipe: opening it to read would wait for a writer
    ReadError,     // reading fails half way: a link to a file whose reading fails (EIO)
    DanglingLink,  // log.dat is a link to a place that is gone (an unplugged drive)
    FolderRemoved, // the program's folder is removed while it runs
    HugeFile,      // a sparse log.dat of 1 GiB
};

} // namespace

class TestDiskFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void faults_data();
    void faults();
    void odd_data();
    void odd();

private:
    std::unique_ptr<RecordBook> makeBook();
    QString logPath() const { return m_folder + u"/log.dat"_s; }
    // The rows of the recovery copy named in the last message, or nothing.
    QStringList recoveredRows() const;

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_window;
    ScriptedDialogs m_dialogs;
    QString m_folder;
    QString m_recovery;
};

void TestDiskFaults::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_folder = m_env->filePath(u"program"_s);
    m_recovery = m_env->filePath(u"recovered"_s);
    QVERIFY(QDir().mkpath(m_folder));
    m_window = std::make_unique<QWidget>();
    m_dialogs.clear();
}

void TestDiskFaults::cleanup()
{
    m_window.reset();
    m_env.reset();
}

std::unique_ptr<RecordBook> TestDiskFaults::makeBook()
{
    return std::make_unique<RecordBook>(
        m_window.get(),
        RecordBook::Services{
            m_dialogs, {}, [](const QString&) {}, [] { return QDate(2024, 5, 1); }},
        m_folder, m_folder, m_recovery);
}

QStringList TestDiskFaults::recoveredRows() const
{
    const QStringList files = QDir(m_recovery).entryList(QDir::Files);
    if (files.size() != 1)
        return {};
    QStringDecoder decoder("windows-31j");
    QString text = decoder.decode(readFile(QDir(m_recovery).filePath(files.first())));
    QStringList rows = text.split(u"\r\n"_s);
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return rows;
}

// Each fault at start or at close, and the user adding one record in between. Whatever the
// fault, what stands at the place of log.dat is left as it was, and every row of the book goes
// to a recovery copy that the save-failure message names, unless the disk has no room left.
void TestDiskFaults::faults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("loadFails"); // the read-failure message at start
    QTest::addColumn<bool>("recovered"); // the rows went to a recovery copy

    // The recovery copy goes to the same full disk: it fails as well, the message says so and
    // the user chooses to quit without saving (tst_safe_close has the other choices).
    QTest::newRow("disk full while writing: old file whole, user told nothing was saved")
        << Fault::DiskFull << false << false;
    QTest::newRow("folder in place of log.dat: refused, rows recovered")
        << Fault::Folder << true << true;
    QTest::newRow("named pipe in place of log.dat: refused without waiting, rows recovered")
        << Fault::Fifo << true << true;
    QTest::newRow("read error half way: refused, rows recovered")
        << Fault::ReadError << true << true;
    QTest::newRow("link to a missing place: nothing to load, rows recovered")
        << Fault::DanglingLink << false << true;
    QTest::newRow("program folder removed while running: rows recovered")
        << Fault::FolderRemoved << false << true;
    QTest::newRow("1 GiB log.dat: refused and never overwritten, rows recovered")
        << Fault::HugeFile << true << true;
}

void TestDiskFaults::faults()
{
    QFETCH(Fault, fault);
    QFETCH(bool, loadFails);
    QFETCH(bool, recovered);

    const QByteArray original = cp932(kFirst + u"\r\n"_s + kSecond + u"\r\n"_s);
    QStringList expectedRows{kFirst, kSecond};
    switch (fault) {
    case Fault::DiskFull:
    case Fault::FolderRemoved:
        QVERIFY(writeFile(logPath(), original));
        break;
    case Fault::Folder:
        QVERIFY(QDir().mkpath(logPath()));
        expectedRows.clear();
        break;
    case Fault::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(logPath()).constData(), 0600), 0);
        expectedRows.clear();
        break;
    case Fault::ReadError:
        // Opens like any file; the first read fails with an input/output error.
        QVERIFY(QFile::link(u"/proc/self/mem"_s, logPath()));
        expectedRows.clear();
        break;
    case Fault::DanglingLink:
        QVERIFY(QFile::link(m_env->filePath(u"unplugged/log.dat"_s), logPath()));
        expectedRows.clear();
        break;
    case Fault::HugeFile: {
        QFile huge(logPath());
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.write(original) == original.size());
        QVERIFY(huge.resize(qint64(1) << 30)); // sparse: no disk space, no time
        expectedRows.clear();
        break;
    }
    }

    std::unique_ptr<RecordBook> book = makeBook();
    // As the main window does: the book is loaded when there is something by that name.
    if (QFileInfo(logPath()).exists())
        book->LoadLogData();
    QCOMPARE(m_dialogs.messageTexts(), loadFails ? QStringList{kReadFailed} : QStringList());
    if (loadFails) {
        // Beneath the fixed text: the file, and the cause in the system's words.
        const QString detail = m_dialogs.messages.first().detail;
        QVERIFY2(
            detail.startsWith(u"読み込めなかったファイル：\r\n"_s + logPath() + u"\r\n理由："_s),
            qPrintable(detail));
        QVERIFY2(!detail.endsWith(u"理由："_s), qPrintable(detail));
    }
    QCOMPARE(book->model().rowCount(), int(expectedRows.size()));
    m_dialogs.clear();

    book->model().appendRecord(kAdded);
    book->model().renumber();
    expectedRows.append(
        torvanu::composeLogLine(book->model().record(book->model().rowCount() - 1)));

    if (fault == Fault::FolderRemoved)
        QVERIFY(QDir(m_folder).removeRecursively());
    // Where the comparison finds the file, it finds the added row and asks; the user says Yes.
    const bool asks = fault == Fault::DiskFull;
    if (asks) {
        m_dialogs.answerNext(Dialogs::Answer::Yes);
        m_dialogs.pressNext(2);                     // 保存せずに終了
        m_dialogs.answerNext(Dialogs::Answer::Yes); // really
    }
    {
        const FileSizeLimit limit(fault == Fault::DiskFull ? original.size() : RLIM_INFINITY);
        QVERIFY(book->SaveLogData());
    }

    QStringList expectedMessages;
    if (asks)
        expectedMessages.append(kChanged);
    if (!recovered) {
        // The second question comes last; before it, the choice.
        QCOMPARE(m_dialogs.messages.takeLast().text, torvanu::kQuitQuestion.toString());
        QCOMPARE(m_dialogs.messages.last().choices.size(), 3);
    }
    // Last comes the save failure, naming the recovery copy that holds every row.
    QStringList shown = m_dialogs.messageTexts();
    QVERIFY(!shown.isEmpty());
    const QString failure = shown.takeLast();
    QVERIFY2(failure.startsWith(kSaveFailed), qPrintable(failure));
    QCOMPARE(m_dialogs.messages.last().icon, Dialogs::Icon::Stop);
    QCOMPARE(shown, expectedMessages);
    if (recovered) {
        QCOMPARE(recoveredRows(), expectedRows);
        const QString copy =
            QDir(m_recovery).filePath(QDir(m_recovery).entryList(QDir::Files).value(0));
        QVERIFY2(failure.endsWith(kRecoveredAt + u"\r\n"_s + QDir::toNativeSeparators(copy)),
                 qPrintable(failure));
        // Beneath it, the file that could not be written.
        QVERIFY2(m_dialogs.messages.last().detail.contains(QFileInfo(logPath()).fileName()),
                 qPrintable(m_dialogs.messages.last().detail));
    } else {
        QVERIFY2(failure.contains(logPath()) && failure.endsWith(kUnsaved), qPrintable(failure));
        QVERIFY(QDir(m_recovery).entryList(QDir::Files).isEmpty());
    }

    switch (fault) {
    case Fault::DiskFull:
        // The old file is whole and nothing half-written lies beside it.
        QCOMPARE(readFile(logPath()), original);
        QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{u"log.dat"_s});
        break;
    case Fault::Folder:
        QVERIFY(QFileInfo(logPath()).isDir());
        break;
    case Fault::Fifo:
        QVERIFY(QFileInfo(logPath()).exists() && !QFileInfo(logPath()).isFile());
        break;
    case Fault::ReadError:
        QCOMPARE(QFileInfo(logPath()).symLinkTarget(), u"/proc/self/mem"_s);
        break;
    case Fault::DanglingLink:
        // Nothing is written behind the user's back where the link points.
        QVERIFY(QFileInfo(logPath()).isSymLink());
        QVERIFY(!QFileInfo::exists(m_env->filePath(u"unplugged"_s)));
        break;
    case Fault::FolderRemoved:
        break;
    case Fault::HugeFile: {
        const QFileInfo info(logPath());
        QCOMPARE(info.size(), qint64(1) << 30);
        QFile huge(logPath());
        QVERIFY(huge.open(QIODevice::ReadOnly));
        QCOMPARE(huge.read(original.size()), original);
        break;
    }
    }
}

// Files this program did not write. Each loads, nothing is asked when nothing changed, and the
// bytes of every record survive the close.
void TestDiskFaults::odd_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QByteArray>("afterClose"); // log.dat after closing without a change

    const QByteArray longRemark(10 << 20, 'x');
    const QByteArray longLine = "1,2024\x94\x4e"
                                "05\x8c\x8e"
                                "01\x93\xfa,a,5km,  21\x95\xaa"
                                "30\x95\x62," +
                                longRemark + ",\r\n";
    QTest::newRow("10 MB line loads as one record and is written back the same")
        << longLine << 1 << longLine;
    const QByteArray utf8 = QString(kFirst + u"\r\n"_s + kSecond + u"\r\n"_s).toUtf8();
    QTest::newRow("UTF-8 file keeps its bytes") << utf8 << 2 << utf8;
    const QByteArray notCp932 = "1,\x85\x40\xff,\xa0\xfd,c,d,e,\x82\r\n2,a,b,c,d,e,\r\n";
    QTest::newRow("bytes that are not code page 932 are kept") << notCp932 << 2 << notCp932;
    const QByteArray unended = cp932(kFirst + u"\r\n"_s + kSecond);
    QTest::newRow("last line without CR LF loads and gets its line end")
        << unended << 2 << QByteArray(unended + "\r\n");
}

void TestDiskFaults::odd()
{
    QFETCH(QByteArray, content);
    QFETCH(int, rows);
    QFETCH(QByteArray, afterClose);

    QVERIFY(writeFile(logPath(), content));
    std::unique_ptr<RecordBook> book = makeBook();
    book->LoadLogData();
    QCOMPARE(book->model().rowCount(), rows);
    book->SaveLogData();
    QCOMPARE(m_dialogs.messageTexts(), QStringList());
    QCOMPARE(readFile(logPath()), afterClose);
    // Whatever was rewritten, the file as it was stays beside it.
    if (afterClose != content)
        QCOMPARE(readFile(m_folder + u"/log.dat.bak"_s), content);

    // The same book again after a reload: the rows read back the same.
    std::unique_ptr<RecordBook> again = makeBook();
    again->LoadLogData();
    QCOMPARE(again->model().lines(), book->model().lines());
}

QTEST_MAIN(TestDiskFaults)
#include "tst_disk_faults.moc"
