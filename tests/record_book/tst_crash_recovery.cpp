// A crash loses no change of the record list: a real child process makes the changes with
// real clicks and is killed with SIGKILL; the next start offers them back.
#include "main_window/form1.h"
#include "record_book/form3.h"
#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "support/file_helpers.h"
#include "support/main_window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

#include <signal.h>

using namespace Qt::StringLiterals;
using namespace torvanu;
using test::cp932;
using test::readFile;

namespace {

constexpr int kStepCount = 5;
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The owner's, group's and others' bits; the "user" ones only repeat one of them.
QFileDevice::Permissions modeBits(QFileDevice::Permissions permissions)
{
    return permissions & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

// Four races, the fourth with bytes code page 932 cannot decode: they must come back as they
// were, through the journal and the restore.
QByteArray originalBook()
{
    return cp932(u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,\r\n"
                 u"2,2005年04月03日,桜ラン,10km,  48分 2秒,,C:\\a,b\\x.csv\r\n"
                 u"3,2007年02月07日,湖畔ハーフ,21.0975km, 1時間39分59秒,雨,\r\n"_s) +
           cp932(u"4,2004年01月01日,a"_s) + QByteArray("\x85\x40") +
           cp932(u",5km,  20分 0秒,,\r\n"_s);
}

void clickRow(RecordBook& book, int row)
{
    const QRect rect = book.listView()->visualRect(book.model().index(row, 2));
    QTest::mouseClick(book.listView()->viewport(), Qt::LeftButton, {}, rect.center());
}

// Fills the editor once it is up, and confirms it.
void confirmEditorLater(RecordBook& book, const QString& name)
{
    QTimer::singleShot(0, &book, [&book, name] {
        Form3* editor = book.editor();
        editor->findChild<QLineEdit*>(u"Text1"_s)->setText(name);
        editor->findChild<QComboBox*>(u"Combo2(0)"_s)->setCurrentText(u" 1"_s);
        editor->findChild<QComboBox*>(u"Combo2(1)"_s)->setCurrentText(u"45"_s);
        editor->findChild<QComboBox*>(u"Combo2(2)"_s)->setCurrentText(u" 9"_s);
        QTest::mouseClick(editor->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
    });
}

// One of each change a user makes to the list, as a user makes it.
void performStep(RecordBook& book, test::ScriptedDialogs& dialogs, int step)
{
    switch (step) {
    case 0: // 新規
        confirmEditorLater(book, u"追加した大会"_s);
        QTest::mouseClick(book.newButton(), Qt::LeftButton);
        break;
    case 1: // 変更, by a double click on the row
    {
        confirmEditorLater(book, u"名前を変えた大会"_s);
        const QRect rect = book.listView()->visualRect(book.model().index(0, 2));
        QTest::mouseDClick(book.listView()->viewport(), Qt::LeftButton, {}, rect.center());
        break;
    }
    case 2: // 削除
        clickRow(book, 1);
        dialogs.answerNext(Dialogs::Answer::Yes);
        QTest::mouseClick(book.deleteButton(), Qt::LeftButton);
        break;
    case 3: // ↓
        clickRow(book, 0);
        QTest::mouseClick(book.downButton(), Qt::LeftButton);
        break;
    case 4: // a click on the date column's header
    {
        QHeaderView* header = book.listView()->header();
        const int column = RecordModel::DateColumn;
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        break;
    }
    default:
        break;
    }
}

// The child: opens the book in folder, makes the changes and waits to be killed.
int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    test::ScriptedDialogs dialogs;
    Form1 form(dialogs, Form1Folders{folder, folder, folder, folder});
    form.Form_Load();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 3;
    for (int step = 0; step < kStepCount; ++step)
        performStep(form.recordBook(), dialogs, step);
    std::printf("ready %d\n", form.recordBook().model().rowCount());
    std::fflush(stdout);
    return QApplication::exec();
}

QStringList listTexts(const RecordModel& model)
{
    QStringList texts;
    for (const LogLine& line : model.lines())
        texts.append(line.text());
    return texts;
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void afterSigkill_data();
    void afterSigkill();

private:
    // The list and the saved bytes after the first steps, done without a crash.
    void expectedAfter(int steps, QStringList& list, QByteArray& saved);
    // A child makes every change in the fixture's folder and is killed.
    void crashChild();

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestCrashRecovery::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
}

void TestCrashRecovery::cleanup()
{
    m_main.reset();
}

void TestCrashRecovery::expectedAfter(int steps, QStringList& list, QByteArray& saved)
{
    test::MainWindowFixture calm;
    QVERIFY(calm.start({.log = originalBook()}));
    RecordBook& book = calm.form->recordBook();
    for (int step = 0; step < steps; ++step)
        performStep(book, calm.dialogs, step);
    list = listTexts(book.model());
    calm.dialogs.answerNext(Dialogs::Answer::Yes);
    calm.form->close();
    saved = readFile(calm.logPath());
    QVERIFY(!QFile::exists(calm.environment.filePath(RecordJournal::kFileName.toString())));
}

void TestCrashRecovery::crashChild()
{
    QVERIFY(test::writeFile(m_main->logPath(), originalBook()));
    QVERIFY(QFile::setPermissions(m_main->logPath(), kPrivate));
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {u"--child"_s, m_main->environment.path()});
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 60000);
    QCOMPARE(child.readLine(), QByteArray("ready 4\n"));
    QCOMPARE(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
    QVERIFY(child.waitForFinished());
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
}

void TestCrashRecovery::afterSigkill_data()
{
    QTest::addColumn<int>("cutBytes");   // taken off the journal's end after the kill
    QTest::addColumn<bool>("restore");   // the answer to the offer
    QTest::addColumn<int>("restorable"); // whole changes left in the journal

    QTest::newRow("restored: every kind of change, byte for byte") << 0 << true << kStepCount;
    QTest::newRow("torn last entry: restored up to the one before") << 3 << true << kStepCount - 1;
    QTest::newRow("declined: book as saved, journal kept under a dated name")
        << 0 << false << kStepCount;
}

void TestCrashRecovery::afterSigkill()
{
    QFETCH(int, cutBytes);
    QFETCH(bool, restore);
    QFETCH(int, restorable);

    crashChild();
    const QString journal = m_main->environment.filePath(RecordJournal::kFileName.toString());
    QVERIFY(QFile::exists(journal));
    // As private as the book it belongs to.
    QCOMPARE(modeBits(QFile::permissions(journal)), kPrivate);
    if (cutBytes > 0) {
        QFile file(journal);
        QVERIFY(file.resize(file.size() - cutBytes));
    }

    QStringList expectedList;
    QByteArray expectedBytes = originalBook();
    if (restore) {
        expectedAfter(restorable, expectedList, expectedBytes);
        // The steps did change the book, the edited name included.
        QVERIFY(expectedBytes != originalBook());
        QVERIFY(expectedList.join(u'\n').contains(u"名前を変えた大会"_s));
    }

    m_main->dialogs.answerNext(restore ? Dialogs::Answer::Yes : Dialogs::Answer::No);
    QVERIFY(m_main->start({}));
    const QStringList shown = m_main->dialogs.messageTexts();
    QVERIFY2(!shown.isEmpty() && shown.first().contains(u" %1 件"_s.arg(restorable)),
             qPrintable(shown.join(u'|')));
    QCOMPARE(m_main->dialogs.messages.first().buttons, Dialogs::Buttons::YesNo);
    RecordBook& book = m_main->form->recordBook();
    if (restore) {
        QCOMPARE(listTexts(book.model()), expectedList);
        QCOMPARE(shown.size(), 1);
        m_main->dialogs.answerNext(Dialogs::Answer::Yes);
    } else {
        QCOMPARE(book.model().rowCount(), 4);
        const QStringList kept =
            QDir(m_main->environment.path()).entryList({u"log-unsaved-*.journal"_s});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.last().contains(kept.first()));
        QVERIFY(!QFile::exists(journal));
    }
    m_main->form->close();
    QCOMPARE(readFile(m_main->logPath()), expectedBytes);
    QVERIFY(!QFile::exists(journal));
}

int main(int argc, char* argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    TestCrashRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crash_recovery.moc"
