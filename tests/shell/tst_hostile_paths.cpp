#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "records/record_model.h"
#include "shell/module1.h"
#include "support/file_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <memory>

using namespace Qt::StringLiterals;
using torvanu::Module1;
using torvanu::RaceRecord;
using torvanu::RecordBook;
using torvanu::test::ScriptedDialogs;
using torvanu::test::TestEnvironment;

namespace {

// What the data path names on disk before the right-button press.
enum class Made
{
    Nothing,
    PlainFile,
    ExecutableFile,
    DesktopLauncher,
    Folder
};

bool makeFile(const QString& path, QFileDevice::Permissions permissions)
{
    return torvanu::test::writeFile(path, "1,2,3\r\n") && QFile::setPermissions(path, permissions);
}

constexpr QFileDevice::Permissions kReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

class TestHostilePaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rightButtonPress_data();
    void rightButtonPress();
    void leftButtonNeverOpens();

private:
    // Selects one record holding dataPath and presses the right button on the list.
    void pressOn(const QString& dataPath, Qt::MouseButton button);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_window;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Module1> m_module;
    QString m_folder; // where the data files lie
};

void TestHostilePaths::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_folder = m_env->filePath(u"data"_s);
    QVERIFY(QDir().mkpath(m_folder));
    m_window = std::make_unique<QWidget>();
    m_dialogs.clear();
    m_module = std::make_unique<Module1>(m_dialogs, m_window.get());
}

void TestHostilePaths::cleanup()
{
    m_module.reset();
    m_window.reset();
    m_env.reset();
}

void TestHostilePaths::pressOn(const QString& dataPath, Qt::MouseButton button)
{
    // The record book's own launcher is the module's, as the main window wires it.
    RecordBook book(
        m_window.get(),
        RecordBook::Services{m_dialogs,
                             {},
                             [this](const QString& target) { m_module->ShellOpen(target); },
                             [] { return QDate(2024, 5, 1); }},
        m_env->filePath(u"book"_s), m_env->filePath(u"book"_s), m_env->filePath(u"recovered"_s));
    RaceRecord record{u"1"_s,        u"2024年05月01日"_s, u"市民マラソン"_s,
                      u"42.195km"_s, u" 3時間45分10秒"_s, {},
                      dataPath};
    book.model().appendRecord(record);
    book.selectRow(0);
    book.ListView1_MouseDown(button);
}

void TestHostilePaths::rightButtonPress_data()
{
    QTest::addColumn<QString>("dataPath"); // %1: the data folder
    QTest::addColumn<Made>("made");
    QTest::addColumn<bool>("opens");

    QTest::newRow("data file opens as a file URL") << u"%1/race.csv"_s << Made::PlainFile << true;
    QTest::newRow("metacharacters are part of an existing file's name")
        << u"%1/a; rm -rf ~ $(touch pwned) `touch pwned` | x.csv"_s << Made::PlainFile << true;
    QTest::newRow("quotes and ampersand are part of the name")
        << u"%1/it's \"my\" & race.csv"_s << Made::PlainFile << true;
    QTest::newRow("command after a separator names no file")
        << u"; rm -rf ~"_s << Made::Nothing << false;
    QTest::newRow("command substitution names no file")
        << u"$(touch %1/pwned)"_s << Made::Nothing << false;
    QTest::newRow("backticks name no file") << u"`touch %1/pwned`"_s << Made::Nothing << false;
    QTest::newRow("existing file with a command appended is another name")
        << u"%1/race.csv; touch %1/pwned"_s << Made::Nothing << false;
    QTest::newRow("web address is not a data file")
        << u"http://example.org/race.csv"_s << Made::Nothing << false;
    QTest::newRow("secure web address is not a data file")
        << u"https://example.org/race.csv"_s << Made::Nothing << false;
    QTest::newRow("javascript address") << u"javascript:alert(1)"_s << Made::Nothing << false;
    QTest::newRow("file address to a system file")
        << u"file:///etc/passwd"_s << Made::Nothing << false;
    QTest::newRow("dot-dot reaching an existing file opens that path")
        << u"%1/../data/race.csv"_s << Made::PlainFile << true;
    QTest::newRow("dot-dot reaching nothing")
        << u"%1/../../nowhere/race.csv"_s << Made::Nothing << false;
    QTest::newRow("relative dot-dot path") << u"../../etc/passwd"_s << Made::Nothing << false;
    QTest::newRow("newline inside an existing file's name")
        << u"%1/race\nday.csv"_s << Made::PlainFile << true;
    QTest::newRow("newline followed by a command")
        << u"%1/race.csv\ntouch %1/pwned"_s << Made::Nothing << false;
    QTest::newRow("executable file is not run") << u"%1/race.sh"_s << Made::ExecutableFile << false;
    QTest::newRow("execute bit on a data file still opens")
        << u"%1/race.csv"_s << Made::ExecutableFile << true;
    QTest::newRow("compressed watch file with the execute bit still opens")
        << u"%1/race.fit.gz"_s << Made::ExecutableFile << true;
    QTest::newRow("desktop launcher is not run")
        << u"%1/race.desktop"_s << Made::DesktopLauncher << false;
    QTest::newRow("folder is not a data file") << u"%1/race"_s << Made::Folder << false;
    QTest::newRow("path from a Windows machine")
        << u"C:\\Data\\race3.csv"_s << Made::Nothing << false;
    QTest::newRow("resource inside the program") << u":/torvanu.png"_s << Made::Nothing << false;
}

void TestHostilePaths::rightButtonPress()
{
    QFETCH(QString, dataPath);
    QFETCH(Made, made);
    QFETCH(bool, opens);

    const QString path = dataPath.contains(u"%1"_s) ? dataPath.arg(m_folder) : dataPath;
    switch (made) {
    case Made::Nothing:
        break;
    case Made::PlainFile:
        QVERIFY(makeFile(path, kReadWrite));
        break;
    case Made::ExecutableFile:
        QVERIFY(makeFile(path, kReadWrite | QFileDevice::ExeOwner));
        break;
    case Made::DesktopLauncher:
        QVERIFY(makeFile(path, kReadWrite));
        break;
    case Made::Folder:
        QVERIFY(QDir().mkpath(path));
        break;
    }

    pressOn(path, Qt::RightButton);

    if (opens) {
        QCOMPARE(m_dialogs.openedUrls.size(), 1);
        const QUrl url = m_dialogs.openedUrls.first();
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), path);
        QCOMPARE(url, QUrl::fromLocalFile(path));
    } else {
        QCOMPARE(m_dialogs.openedUrls, QList<QUrl>());
    }
    // The hand-over to the desktop is the only thing that happens: no message, no chooser.
    QCOMPARE(m_dialogs.messageTexts(), QStringList());
    QVERIFY(m_dialogs.saveRequests.isEmpty());
    QVERIFY(m_dialogs.openRequests.isEmpty());
    QVERIFY(!QFile::exists(m_folder + u"/pwned"_s));
}

void TestHostilePaths::leftButtonNeverOpens()
{
    const QString path = m_folder + u"/race.csv"_s;
    QVERIFY(makeFile(path, kReadWrite));
    pressOn(path, Qt::LeftButton);
    QCOMPARE(m_dialogs.openedUrls, QList<QUrl>());
}

QTEST_MAIN(TestHostilePaths)
#include "tst_hostile_paths.moc"
