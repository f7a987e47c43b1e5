#include "storage/atomic_file.h"
#include "support/file_helpers.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvanu;

// The writer's promise: afterwards the path holds either all of the new bytes or exactly what
// it held before, and an error is reported whenever it is not the new bytes.
class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void writesWholeOrNothing_data();
    void writesWholeOrNothing();
    void droppedBeforeCommitKeepsOldFile();
};

void TestAtomicFile::writesWholeOrNothing_data()
{
    QTest::addColumn<QByteArray>("before"); // "" for no file
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("sizeLimit"); // 0 for none
    QTest::addColumn<bool>("inMissingFolder");
    QTest::addColumn<bool>("fails");

    const QByteArray big(64 * 1024, 'x');
    QTest::newRow("new file") << QByteArray() << "a,b\r\n"_ba << qint64(0) << false << false;
    QTest::newRow("replaces an old file") << "old\r\n"_ba
                                          << "new\r\n"_ba << qint64(0) << false << false;
    QTest::newRow("empty text makes an empty file")
        << "old\r\n"_ba << QByteArray() << qint64(0) << false << false;
    QTest::newRow("full disk keeps the old file")
        << "old\r\n"_ba << big << qint64(1024) << false << true;
    QTest::newRow("full disk leaves no file")
        << QByteArray() << big << qint64(1024) << false << true;
    QTest::newRow("missing folder") << QByteArray() << "a\r\n"_ba << qint64(0) << true << true;
}

void TestAtomicFile::writesWholeOrNothing()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, sizeLimit);
    QFETCH(bool, inMissingFolder);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path =
        inMissingFolder ? dir.filePath(u"missing/out.csv"_s) : dir.filePath(u"out.csv"_s);
    if (!before.isEmpty())
        QVERIFY(test::writeFile(path, before));

    std::optional<AtomicWriteError> error;
    if (sizeLimit > 0) {
        const test::FileSizeLimit limit(static_cast<rlim_t>(sizeLimit));
        error = writeFileAtomically(path, bytes);
    } else {
        error = writeFileAtomically(path, bytes);
    }

    QCOMPARE(error.has_value(), fails);
    if (fails) {
        QVERIFY(!error->detail.isEmpty());
        if (before.isEmpty())
            QVERIFY(!QFileInfo::exists(path));
        else
            QCOMPARE(test::readFile(path), before);
    } else {
        QCOMPARE(test::readFile(path), bytes);
    }
    // No temporary file is left beside the target either way.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(),
             (fails && before.isEmpty()) || inMissingFolder ? 0 : 1);
}

void TestAtomicFile::droppedBeforeCommitKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"log.dat"_s);
    QVERIFY(test::writeFile(path, "old\r\n"_ba));
    {
        AtomicFile file(path);
        QVERIFY(!file.open());
        QVERIFY(!file.write("half of the new"_ba));
    }
    QCOMPARE(test::readFile(path), "old\r\n"_ba);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"log.dat"_s});
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomic_file.moc"
