#include "shell/save_flow.h"
#include "support/file_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using namespace torvanu;
using torvanu::test::ScriptedDialogs;
using torvanu::test::TestEnvironment;

class TestSaveFlow : public QObject
{
    Q_OBJECT

private slots:
    void everyExport_data();
    void everyExport();
};

namespace {

const QByteArray kOld = "old";
const QByteArray kNew = "new";

SaveFolders::Kind otherKind(SaveFolders::Kind kind)
{
    return kind == SaveFolders::Kind::Csv ? SaveFolders::Kind::Pdf : SaveFolders::Kind::Csv;
}

} // namespace

void TestSaveFlow::everyExport_data()
{
    QTest::addColumn<SaveFolders::Kind>("kind");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("fileThere"); // at the completed name, before the save
    QTest::addColumn<std::optional<Dialogs::Answer>>("answer");
    QTest::addColumn<bool>("bytesMade");
    QTest::addColumn<CsvSaveResult::Status>("status");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("content"); // of the written name afterwards; empty: none

    using Status = CsvSaveResult::Status;
    const std::optional<Dialogs::Answer> none;
    QTest::newRow("a picture named without its suffix gets it")
        << SaveFolders::Kind::Image << u".png"_s << u"trend"_s << false << none << true
        << Status::Saved << u"trend.png"_s << kNew;
    QTest::newRow("a suffix in capitals is kept, not doubled")
        << SaveFolders::Kind::Pdf << u".pdf"_s << u"band.PDF"_s << false << none << true
        << Status::Saved << u"band.PDF"_s << kNew;
    QTest::newRow("the completed name's file is replaced after a Yes")
        << SaveFolders::Kind::Csv << u".csv"_s << u"laps"_s << true
        << std::optional(Dialogs::Answer::Yes) << true << Status::Saved << u"laps.csv"_s << kNew;
    QTest::newRow("a No keeps the file and still remembers the folder")
        << SaveFolders::Kind::Image << u".png"_s << u"trend"_s << true
        << std::optional(Dialogs::Answer::No) << true << Status::Cancelled << u"trend.png"_s
        << kOld;
    QTest::newRow("bytes that cannot be made fail naming the file and write nothing")
        << SaveFolders::Kind::Image << u".png"_s << u"trend"_s << false << none << false
        << Status::WriteFailed << u"trend.png"_s << QByteArray();
}

// CSV, PDF and PNG take one way to their file: whatever the user answers, the next chooser of
// the same kind starts in the folder chosen, and only that kind's.
void TestSaveFlow::everyExport()
{
    QFETCH(SaveFolders::Kind, kind);
    QFETCH(QString, suffix);
    QFETCH(QString, typed);
    QFETCH(bool, fileThere);
    QFETCH(std::optional<Dialogs::Answer>, answer);
    QFETCH(bool, bytesMade);
    QFETCH(CsvSaveResult::Status, status);
    QFETCH(QString, written);
    QFETCH(QByteArray, content);

    const TestEnvironment environment;
    const QString folder = environment.filePath(u"exports"_s);
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(written);
    if (fileThere)
        QVERIFY(test::writeFile(path, kOld));
    ScriptedDialogs dialogs;
    dialogs.chooseSaveFile(QDir(folder).filePath(typed));
    if (answer)
        dialogs.answerNext(*answer);
    SaveFolders folders;
    const QString otherStart = folders.startFolder(otherKind(kind));

    const CsvSaveResult result = saveThroughChooser(
        dialogs, nullptr, folders,
        {u"保存"_s, {u"*"_s}, suffix, kind, folders.startFolder(kind), u"name"_s},
        [bytesMade]() -> std::optional<QByteArray> {
            if (!bytesMade)
                return std::nullopt;
            return kNew;
        });

    QCOMPARE(result.status, status);
    QCOMPARE(result.path, path);
    QCOMPARE(dialogs.messages.size(), answer ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path), !content.isEmpty());
    if (!content.isEmpty())
        QCOMPARE(test::readFile(path), content);
    QCOMPARE(folders.startFolder(kind), folder);
    QCOMPARE(folders.startFolder(otherKind(kind)), otherStart);
}

QTEST_GUILESS_MAIN(TestSaveFlow)
#include "tst_save_flow.moc"
