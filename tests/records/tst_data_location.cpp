#include "records/data_location.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

enum class Where
{
    Nowhere,
    Program,
    PerUser,
    Both
};
enum class Folder
{
    Program,
    PerUser
};

bool writeLogFile(const QString& folder)
{
    return test::writeFile(QDir(folder).filePath(u"log.dat"_s), "1,a,b,c,d,e,\r\n");
}

} // namespace

class TestDataLocation : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void choosesFolder_data();
    void choosesFolder();

    void realProbeSeesAMissingProgramFolderAsUnwritable();
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
    QTest::addColumn<bool>("programWritable");
    QTest::addColumn<bool>("perUserExists");
    QTest::addColumn<Where>("logFiles");
    QTest::addColumn<Folder>("read");
    QTest::addColumn<Folder>("write");

    QTest::newRow("build folder, first start")
        << true << false << Where::Nowhere << Folder::Program << Folder::Program;
    QTest::newRow("build folder keeps its own book")
        << true << false << Where::Program << Folder::Program << Folder::Program;
    QTest::newRow("build folder ignores a per-user book")
        << true << true << Where::PerUser << Folder::Program << Folder::Program;
    QTest::newRow("installed, first start")
        << false << false << Where::Nowhere << Folder::PerUser << Folder::PerUser;
    QTest::newRow("installed, book beside the program moves")
        << false << false << Where::Program << Folder::Program << Folder::PerUser;
    QTest::newRow("installed, moved book wins over the old one")
        << false << true << Where::Both << Folder::PerUser << Folder::PerUser;
    QTest::newRow("installed, per-user book")
        << false << true << Where::PerUser << Folder::PerUser << Folder::PerUser;
}

void TestDataLocation::choosesFolder()
{
    QFETCH(bool, programWritable);
    QFETCH(bool, perUserExists);
    QFETCH(Where, logFiles);
    QFETCH(Folder, read);
    QFETCH(Folder, write);

    if (perUserExists)
        QVERIFY(QDir().mkpath(m_perUser));
    if (logFiles == Where::Program || logFiles == Where::Both)
        QVERIFY(writeLogFile(m_program));
    if (logFiles == Where::PerUser || logFiles == Where::Both)
        QVERIFY(writeLogFile(m_perUser));

    const QString program = m_program;
    const auto probe = [&](const QString& folder) {
        return folder == program ? programWritable : canCreateFilesIn(folder);
    };
    const DataLocation location = chooseDataLocation(m_program, m_perUser, probe);

    const auto path = [this](Folder f) { return f == Folder::Program ? m_program : m_perUser; };
    QCOMPARE(location.readFolder, path(read));
    QCOMPARE(location.writeFolder, path(write));
    QVERIFY(!location.error);
    // The per-user folder is made only when it is going to be used.
    QCOMPARE(QFileInfo(m_perUser).isDir(), perUserExists || write == Folder::PerUser);
}

void TestDataLocation::realProbeSeesAMissingProgramFolderAsUnwritable()
{
    const QString gone = m_root->filePath(u"removed"_s);
    const DataLocation location = chooseDataLocation(gone, m_perUser);
    QCOMPARE(location.writeFolder, m_perUser);
    QVERIFY(!location.error);
    QVERIFY(canCreateFilesIn(m_perUser));
}

void TestDataLocation::perUserFolderThatCannotBeCreatedIsAnError()
{
    QVERIFY(writeLogFile(m_program));
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
