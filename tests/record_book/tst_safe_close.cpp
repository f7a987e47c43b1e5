// Closing never loses a race: a book another program changed meanwhile, a disk that is full,
// a recovery copy put back, two books at start. Driven as the user does it: the editor's
// buttons, the close box and the answers to every message box.

#include "record_book/form3.h"
#include "record_book/journal_texts.h"
#include "record_book/record_book.h"
#include "record_book/record_book_texts.h"
#include "records/log_file.h"
#include "records/record_model.h"
#include "support/file_helpers.h"
#include "support/file_size_limit.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace torvanu;
using test::cp932;
using test::readFile;
using test::ScriptedDialogs;
using test::writeFile;

namespace {

const QString kFirst = u"1,2006年11月19日,市民マラソン,42.195km, 3時間45分10秒,自己ベスト,"_s;
const QString kSecond = u"2,2005年04月03日,桜ラン,10km,  48分 2秒,,C:\\a,b\\x.csv"_s;
const QString kThird = u"3,2007年02月07日,湖畔ハーフ,21.0975km, 1時間39分59秒,雨,"_s;
const QString kOutside = u"4,2024年06月02日,外の大会,5km,  22分 0秒,,"_s;

QByteArray book(const QStringList& lines)
{
    return cp932(lines.join(u"\r\n"_s) + u"\r\n"_s);
}

const QByteArray kBook = book({kFirst, kSecond, kThird});

// The race names of the book at path, in its order.
QStringList namesIn(const QString& path)
{
    // Read as log.dat, whatever the file's name.
    QTemporaryDir dir;
    QStringList names;
    if (!QFile::copy(path, dir.filePath(u"log.dat"_s)))
        return names;
    for (const LogLine& line : LogFile(dir.path()).load().lines)
        names.append(line.field(2).toString());
    return names;
}

} // namespace

class TestSafeClose : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changedOutside_data();
    void changedOutside();
    void twoWindowsBothKeepTheirRace();
    void fullDisk_data();
    void fullDisk();
    void recoveryCopyIsTheBook();
    void twoBooksOneQuestion_data();
    void twoBooksOneQuestion();

private:
    // Adds a race through 新規 and the editor's OK button.
    void addRace(Form1& form, const QString& name);
    bool start(const QByteArray& log, const QString& writeFolder = {})
    {
        return m_main->start(
            {.log = log, .recoveryFolder = u"recovery"_s, .dataWriteFolder = writeFolder});
    }
    QString folder() const { return m_main->environment.path(); }

    std::unique_ptr<test::MainWindowFixture> m_main;
};

void TestSafeClose::init()
{
    m_main = std::make_unique<test::MainWindowFixture>();
}

void TestSafeClose::cleanup()
{
    m_main.reset();
}

void TestSafeClose::addRace(Form1& form, const QString& name)
{
    QTimer::singleShot(0, this, [&form, name] {
        Form3* editor = form.recordBook().editor();
        QVERIFY(editor && editor->isVisible());
        editor->findChild<QLineEdit*>(u"Text1"_s)->setText(name);
        editor->findChild<QComboBox*>(u"Combo2(0)"_s)->setCurrentText(u" 0"_s);
        editor->findChild<QComboBox*>(u"Combo2(1)"_s)->setCurrentText(u"45"_s);
        editor->findChild<QComboBox*>(u"Combo2(2)"_s)->setCurrentText(u" 9"_s);
        QTest::mouseClick(editor->findChild<QPushButton*>(u"OkButton"_s), Qt::LeftButton);
    });
    QTest::mouseClick(form.recordBook().newButton(), Qt::LeftButton);
}

// log.dat is changed by another program while the window is open; then the user closes it.
void TestSafeClose::changedOutside_data()
{
    QTest::addColumn<QByteArray>("outside");
    QTest::addColumn<bool>("userAdds");       // the user adds 私の大会 first
    QTest::addColumn<QStringList>("choices"); // offered at close; empty: nothing asked
    QTest::addColumn<int>("pressed");         // index of the choice pressed
    QTest::addColumn<QStringList>("names");   // log.dat after; empty: the outside bytes
    QTest::addColumn<bool>("keptAside");      // the outside version kept under a dated name

    const QByteArray appended = book({kFirst, kSecond, kThird, kOutside});
    const QByteArray lostOne = book({kFirst, kThird});
    const QStringList three{kMergeChoice.toString(), kKeepBothChoice.toString(),
                            kCancelChoice.toString()};
    const QStringList four{kMergeChoice.toString(), kMergeDropChoice.toString(),
                           kKeepBothChoice.toString(), kCancelChoice.toString()};

    QTest::newRow("a race appended outside: merged after the user's, every race kept")
        << appended << true << three << 0
        << QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s, u"私の大会"_s,
                       u"外の大会"_s}
        << false;
    QTest::newRow("a race deleted outside: merge keeps it unless the user agrees")
        << lostOne << true << four << 0
        << QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s, u"私の大会"_s} << false;
    QTest::newRow("a race deleted outside, the user agrees: dropped from the list too")
        << lostOne << true << four << 1
        << QStringList{u"市民マラソン"_s, u"湖畔ハーフ"_s, u"私の大会"_s} << false;
    QTest::newRow("keep both: the list as log.dat, the outside version beside it")
        << appended << true << three << 1
        << QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s, u"私の大会"_s} << true;
    QTest::newRow("cancel: the window stays open, the file as the other program left it")
        << appended << true << three << 2 << QStringList() << false;
    QTest::newRow("the list untouched: the newer file stays, nothing asked")
        << appended << false << QStringList() << -1 << QStringList() << false;
}

void TestSafeClose::changedOutside()
{
    QFETCH(QByteArray, outside);
    QFETCH(bool, userAdds);
    QFETCH(QStringList, choices);
    QFETCH(int, pressed);
    QFETCH(QStringList, names);
    QFETCH(bool, keptAside);

    QVERIFY(start(kBook));
    if (userAdds)
        addRace(*m_main->form, u"私の大会"_s);
    QVERIFY(writeFile(m_main->logPath(), outside));

    ScriptedDialogs& dialogs = m_main->dialogs;
    dialogs.clear();
    if (!choices.isEmpty())
        dialogs.pressNext(pressed);
    const bool cancelled = !choices.isEmpty() && pressed == choices.size() - 1;
    QCOMPARE(m_main->form->close(), !cancelled);
    QCOMPARE(m_main->form->isVisible(), cancelled);

    if (choices.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
    } else {
        // Never the usual question: the one question says what happened and offers the way out.
        QCOMPARE(dialogs.messages.size(), 1);
        const ScriptedDialogs::Shown& asked = dialogs.messages.first();
        QCOMPARE(asked.choices, choices);
        QVERIFY2(asked.text.startsWith(kOutsideChangeMessage.toString().arg(m_main->logPath())),
                 qPrintable(asked.text));
    }
    const QStringList aside = QDir(folder()).entryList({u"log-outside-*.dat"_s}, QDir::Files);
    if (keptAside) {
        QCOMPARE(aside.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains(QDir(folder()).filePath(aside.first())));
        QCOMPARE(readFile(QDir(folder()).filePath(aside.first())), outside);
    } else {
        QVERIFY(aside.isEmpty());
    }
    if (names.isEmpty())
        QCOMPARE(readFile(m_main->logPath()), outside);
    else
        QCOMPARE(namesIn(m_main->logPath()), names);
    if (cancelled) {
        // Nothing of the list was lost by cancelling: the next close asks again.
        QCOMPARE(m_main->form->recordBook().model().rowCount(), 4);
        dialogs.pressNext(0);
        QVERIFY(m_main->form->close());
        QCOMPARE(namesIn(m_main->logPath()).size(), 5);
    }
}

// Two windows on one book, a race added in each, both closed with はい: both races are saved.
void TestSafeClose::twoWindowsBothKeepTheirRace()
{
    QVERIFY(start(kBook));
    ScriptedDialogs otherDialogs;
    Form1 other(otherDialogs, Form1Folders{folder(), folder(), folder(), {}});
    other.Form_Load();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    addRace(*m_main->form, u"Aの大会"_s);
    addRace(other, u"Bの大会"_s);
    m_main->dialogs.clear();
    otherDialogs.answerNext(Dialogs::Answer::Yes);
    // Closing one window of the program closes every window of it, this one included: it
    // finds the book changed by the other and merges.
    m_main->dialogs.pressNext(0);
    QVERIFY(other.close());
    QVERIFY(!m_main->form->isVisible());
    QCOMPARE(
        namesIn(m_main->logPath()),
        (QStringList{u"市民マラソン"_s, u"桜ラン"_s, u"湖畔ハーフ"_s, u"Aの大会"_s, u"Bの大会"_s}));
}

enum class FullDiskAnswer
{
    Escape, // Escape or the close box on the choice
    RetryAfterRoom,
    SaveElsewhere,
    QuitAfterNo, // 保存せずに終了, いいえ, then 保存せずに終了, はい
};

// Neither log.dat nor the recovery copy can be written (a file-size limit stands in for a full
// disk): the close waits for the user's choice.
void TestSafeClose::fullDisk_data()
{
    QTest::addColumn<FullDiskAnswer>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("namesInBook"); // races in log.dat after

    QTest::newRow("Escape: the window stays open, the race still in the list")
        << FullDiskAnswer::Escape << false << 3;
    QTest::newRow("retry once there is room: saved") << FullDiskAnswer::RetryAfterRoom << true << 4;
    QTest::newRow("save elsewhere: the book where the user chose, log.dat as it was")
        << FullDiskAnswer::SaveElsewhere << true << 3;
    QTest::newRow("quit without saving only after the second question")
        << FullDiskAnswer::QuitAfterNo << true << 3;
}

void TestSafeClose::fullDisk()
{
    QFETCH(FullDiskAnswer, answer);
    QFETCH(bool, closes);
    QFETCH(int, namesInBook);

    QVERIFY(start(kBook));
    addRace(*m_main->form, u"私の大会"_s);
    ScriptedDialogs& dialogs = m_main->dialogs;
    dialogs.clear();
    dialogs.answerNext(Dialogs::Answer::Yes); // 変更を保存しますか？
    const QString elsewhere = m_main->environment.filePath(u"usb/my-races.dat"_s);
    QVERIFY(QDir().mkpath(QFileInfo(elsewhere).absolutePath()));
    std::optional<test::FileSizeLimit> limit;
    limit.emplace(kBook.size());
    switch (answer) {
    case FullDiskAnswer::Escape:
        dialogs.pressNext(-1);
        break;
    case FullDiskAnswer::RetryAfterRoom:
        dialogs.beforeChoice = [&limit] { limit.reset(); };
        dialogs.pressNext(0);
        break;
    case FullDiskAnswer::SaveElsewhere:
        dialogs.beforeChoice = [&limit] { limit.reset(); };
        dialogs.pressNext(1);
        dialogs.chooseSaveFile(elsewhere);
        break;
    case FullDiskAnswer::QuitAfterNo:
        dialogs.pressNext(2);
        dialogs.answerNext(Dialogs::Answer::No);
        dialogs.pressNext(2);
        dialogs.answerNext(Dialogs::Answer::Yes);
        break;
    }
    const bool closed = m_main->form->close();
    limit.reset();
    QCOMPARE(closed, closes);

    // The choice names the file that could not be written and says why.
    const auto choice = std::find_if(dialogs.messages.cbegin(), dialogs.messages.cend(),
                                     [](const auto& shown) { return !shown.choices.isEmpty(); });
    QVERIFY(choice != dialogs.messages.cend());
    QCOMPARE(choice->icon, Dialogs::Icon::Stop);
    QCOMPARE(choice->choices, (QStringList{kRetryChoice.toString(), kSaveElsewhereChoice.toString(),
                                           kQuitChoice.toString()}));
    QVERIFY2(choice->text.contains(m_main->logPath()), qPrintable(choice->text));
    QVERIFY2(choice->text.contains(qt_error_string(EFBIG)), qPrintable(choice->text));

    QCOMPARE(namesIn(m_main->logPath()).size(), namesInBook);
    if (answer == FullDiskAnswer::SaveElsewhere) {
        QCOMPARE(readFile(m_main->logPath()), kBook);
        QCOMPARE(namesIn(elsewhere).size(), 4);
        QVERIFY(dialogs.messageTexts().last().contains(elsewhere));
    }
    if (!closes) {
        QVERIFY(m_main->form->isVisible());
        QCOMPARE(m_main->form->recordBook().model().rowCount(), 4);
        dialogs.clear();
        dialogs.answerNext(Dialogs::Answer::Yes);
        QVERIFY(m_main->form->close());
        QCOMPARE(namesIn(m_main->logPath()).size(), 4);
    }
}

// A save that fails leaves a recovery copy; put back as log.dat it is the same book: the same
// list, the same bytes, undecodable row and line that is not a record included.
void TestSafeClose::recoveryCopyIsTheBook()
{
    const QByteArray original = cp932(kFirst + u"\r\n"_s) + "2,a\x85\x40,b,c,d,e,\r\n" +
                                cp932(u"メモ：靴を替えた\r\n"_s + kThird + u"\r\n"_s);
    QVERIFY(start(original));
    // Said once at loading: one line is kept without being shown.
    QCOMPARE(m_main->dialogs.messageTexts(), QStringList{kHiddenLinesMessage.toString().arg(1)});
    QCOMPARE(m_main->form->recordBook().model().rowCount(), 3);
    addRace(*m_main->form, u"私の大会"_s);
    const QList<LogLine> atClose = m_main->form->recordBook().model().lines();

    QVERIFY(QFile::setPermissions(m_main->logPath(), QFile::ReadOwner));
    m_main->dialogs.clear();
    m_main->dialogs.answerNext(Dialogs::Answer::Yes);
    QVERIFY(m_main->form->close());
    const QDir recovery(m_main->environment.filePath(u"recovery"_s));
    const QStringList copies = recovery.entryList(QDir::Files);
    QCOMPARE(copies.size(), 1);
    QVERIFY(m_main->dialogs.messageTexts().last().contains(recovery.filePath(copies.first())));
    QCOMPARE(QFileInfo(recovery.filePath(copies.first())).permissions() & 0x7077,
             QFileDevice::Permissions(QFile::ReadOwner));

    // Put back by hand, as the help page says.
    const QByteArray recovered = readFile(recovery.filePath(copies.first()));
    QVERIFY(QFile::setPermissions(m_main->logPath(), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(writeFile(m_main->logPath(), recovered));
    ScriptedDialogs again;
    Form1 next(again, Form1Folders{folder(), folder(), folder(), {}});
    next.Form_Load();
    QCOMPARE(next.recordBook().model().lines(), atClose);
    // The failed session's journal was kept; the book put back by hand is not the one it
    // began from, so it is set aside and named rather than replayed.
    const QStringList atStart = again.messageTexts();
    QCOMPARE(atStart.size(), 2);
    QCOMPARE(atStart.first(), kHiddenLinesMessage.toString().arg(1));
    QVERIFY2(atStart.last().contains(kBookChangedSince.toString()), qPrintable(atStart.last()));
    again.clear();
    QVERIFY(next.close());
    QVERIFY(again.messages.isEmpty());
    QCOMPARE(readFile(m_main->logPath()), recovered);
    QVERIFY(recovered.contains("2,a\x85\x40,b,c,d,e,\r\n"));
    QVERIFY(recovered.contains(cp932(u"メモ：靴を替えた\r\n"_s)));
}

// An older book beside the program and the user's book differ: one question at start, and the
// book not chosen is never written.
void TestSafeClose::twoBooksOneQuestion_data()
{
    QTest::addColumn<QByteArray>("userBook");
    QTest::addColumn<int>("pressed"); // -1: nothing asked
    QTest::addColumn<int>("races");   // rows shown

    QTest::newRow("older book chosen: read and saved where it is")
        << book({kFirst, kSecond}) << 0 << 3;
    QTest::newRow("user's book chosen: the older one untouched")
        << book({kFirst, kSecond}) << 1 << 2;
    QTest::newRow("the same bytes: nothing to ask") << kBook << -1 << 3;
}

void TestSafeClose::twoBooksOneQuestion()
{
    QFETCH(QByteArray, userBook);
    QFETCH(int, pressed);
    QFETCH(int, races);

    const QString userLog = m_main->environment.filePath(u"user/log.dat"_s);
    QVERIFY(QDir().mkpath(QFileInfo(userLog).absolutePath()));
    QVERIFY(writeFile(userLog, userBook));
    const QDateTime userTime = QFileInfo(userLog).lastModified();
    if (pressed >= 0)
        m_main->dialogs.pressNext(pressed);
    QVERIFY(start(kBook, u"user"_s));
    QCOMPARE(m_main->form->recordBook().model().rowCount(), races);

    if (pressed >= 0) {
        QCOMPARE(m_main->dialogs.messages.size(), 1);
        const QString asked = m_main->dialogs.messages.first().text;
        for (const QString& expected :
             {m_main->logPath(), userLog, u"記録：3 件"_s, u"記録：2 件"_s,
              QFileInfo(userLog).lastModified().toString(u"yyyy/MM/dd HH:mm"_s)})
            QVERIFY2(asked.contains(expected), qPrintable(asked + u" / "_s + expected));
    } else {
        QVERIFY(m_main->dialogs.messages.isEmpty());
    }

    // A change, saved: only the chosen book is written.
    m_main->form->recordBook().selectRow(0);
    m_main->dialogs.clear();
    m_main->dialogs.answerNext(Dialogs::Answer::Yes); // delete
    QTest::mouseClick(m_main->form->recordBook().deleteButton(), Qt::LeftButton);
    m_main->dialogs.answerNext(Dialogs::Answer::Yes); // save
    QVERIFY(m_main->form->close());
    const bool olderChosen = pressed == 0;
    QCOMPARE(readFile(m_main->logPath()) == kBook, !olderChosen);
    QCOMPARE(readFile(userLog) == userBook, olderChosen);
    if (olderChosen)
        QCOMPARE(QFileInfo(userLog).lastModified(), userTime);
    QCOMPARE(namesIn(olderChosen ? m_main->logPath() : userLog).size(), races - 1);
}

QTEST_MAIN(TestSafeClose)
#include "tst_safe_close.moc"
