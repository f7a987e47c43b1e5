#include "records/data_location.h"
#include "support/file_helpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

enum class Folder
{
    Program,
    PerUser
};

// A book's age in seconds before a moment fixed for the whole test; no value: no book there.
using Age = std::optional<int>;

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());

bool writeLogFile(const QString& folder, Age age)
{
    const QString path = QDir(folder).filePath(u"log.dat"_s);
    if (!test::writeFile(path, "1,a,b,c,d,e,\r\n"))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(kNow.addSecs(-*age), QFileDevice::FileModificationTime);
}

} // namespace

class TestDataLocation : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void choosesFolder_data();
    void choosesFolder();

    void perUserFolderThatCannotBeCreatedIsAnError();
    void probeLeavesNothingBehind();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_program;
    QString m_perUser;
};

void TestDataLocation::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_program = m_root->filePath(u"opt/torvanu"_s);
    m_perUser = m_root->filePath(u"home/.local/share/Torvanu"_s);
    QVERIFY(QDir().mkpath(m_program));
}

void TestDataLocation::choosesFolder_data()
{
    QTest::addColumn<bool>("perUserExists");
    QTest::addColumn<Age>("programBook");
    QTest::addColumn<Age>("perUserBook");
    QTest::addColumn<Folder>("read");

    const Age none;
    QTest::newRow("first start") << false << none << none << Folder::PerUser;
    QTest::newRow("per-user book") << true << none << Age(60) << Folder::PerUser;
    QTest::newRow("book left beside the program moves")
        << false << Age(60) << none << Folder::Program;
    QTest::newRow("newer per-user book wins over the one beside the program")
        << true << Age(3600) << Age(60) << Folder::PerUser;
    QTest::newRow("newer book beside the program wins over the per-user one")
        << true << Age(60) << Age(3600) << Folder::Program;
    QTest::newRow("same age: the per-user book") << true << Age(60) << Age(60) << Folder::PerUser;
}

void TestDataLocation::choosesFolder()
{
    QFETCH(bool, perUserExists);
    QFETCH(Age, programBook);
    QFETCH(Age, perUserBook);
    QFETCH(Folder, read);

    if (perUserExists)
        QVERIFY(QDir().mkpath(m_perUser));
    if (programBook)
        QVERIFY(writeLogFile(m_program, programBook));
    if (perUserBook)
        QVERIFY(writeLogFile(m_perUser, perUserBook));

    // The program's folder is writable here, as a build folder is: it is written all the same.
    const DataLocation location = chooseDataLocation(m_program, m_perUser);

    QCOMPARE(location.readFolder, read == Folder::Program ? m_program : m_perUser);
    QCOMPARE(location.writeFolder, m_perUser);
    QVERIFY(!location.error);
    QVERIFY(QFileInfo(m_perUser).isDir());
}

void TestDataLocation::perUserFolderThatCannotBeCreatedIsAnError()
{
    QVERIFY(writeLogFile(m_program, 60));
    QVERIFY(test::writeFile(m_root->filePath(u"home"_s), {})); // a file where a folder has to go

    const DataLocation location =
        chooseDataLocation(m_program, m_perUser, [](const QString&) { return false; });
    QVERIFY(location.error);
    QCOMPARE(location.error->folder, m_perUser);
    QCOMPARE(location.writeFolder, m_perUser);
    // The old book is still read, so the records are on screen even if they cannot be saved.
    QCOMPARE(location.readFolder, m_program);

    const DataLocation unnamed =
        chooseDataLocation(m_program, QString(), [](const QString&) { return false; });
    QVERIFY(unnamed.error);
}

void TestDataLocation::probeLeavesNothingBehind()
{
    QVERIFY(canCreateFilesIn(m_program));
    QVERIFY(QDir(m_program)
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
}

} // namespace torvanu

QTEST_GUILESS_MAIN(torvanu::TestDataLocation)
#include "tst_data_location.moc"
