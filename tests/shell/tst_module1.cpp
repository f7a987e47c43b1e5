#include "shell/module1.h"
#include "shell/qt_dialogs.h"
#include "support/file_helpers.h"
#include "support/file_size_limit.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using torvanu::CsvSaveResult;
using torvanu::Dialogs;
using torvanu::Module1;
using torvanu::test::FileSizeLimit;
using torvanu::test::readFile;
using torvanu::test::ScriptedDialogs;
using torvanu::test::TestEnvironment;
using torvanu::test::writeFile;

namespace {

using Status = CsvSaveResult::Status;

constexpr QStringView kSaveTitle = u"名前を付けて保存";
constexpr QStringView kCsvFilter = u"テキストファイル(*.csv)";
constexpr QStringView kAllFilter = u"すべてのファイル(*.*)";

QString desktopOf(const TestEnvironment& env)
{
    return env.filePath(u"home/Desktop"_s);
}

// Acts on each modal window as it appears, in order, while a real chooser runs. A window
// that a failed step leaves open, or that no step expects, is rejected so that the test
// fails instead of hanging.
class ModalRobot
{
public:
    using Step = std::function<void(QWidget* modal)>;

    explicit ModalRobot(QList<Step> steps) : m_steps(std::move(steps))
    {
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { act(); });
        m_poll.start();
    }

    bool done() const { return m_steps.isEmpty(); }

private:
    void act()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_last)
            return;
        m_poll.stop(); // a step may run an event loop of its own
        m_last = modal;
        if (m_steps.isEmpty())
            QTest::qFail("unexpected modal window", __FILE__, __LINE__);
        else
            m_steps.takeFirst()(modal);
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (QTest::currentTestFailed() && dialog && dialog->isVisible())
            dialog->reject();
        m_poll.start();
    }

    QList<Step> m_steps;
    QTimer m_poll;
    QPointer<QWidget> m_last;
};

class CountingWindow : public QWidget
{
public:
    int closes = 0;
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        if (onClose)
            onClose();
        event->accept();
    }
};

} // namespace

class TstModule1 : public QObject
{
    Q_OBJECT

private slots:
    void savedNameFollowsCsvRule_data();
    void savedNameFollowsCsvRule();
    void fileIsShiftJisEndingInCrLf();
    void chooserOffersLastPathUntilCancelled();
    void completedNameAsksBeforeReplacing_data();
    void completedNameAsksBeforeReplacing();
    void failedWriteLeavesOldFile_data();
    void failedWriteLeavesOldFile();
    void unencodableTextIsRefused_data();
    void unencodableTextIsRefused();
    void shellOpen_data();
    void shellOpen();
    void desktopPathOnlyWhenFolderExists();
    void unloadClosesEveryWindowOnce();
    void realSaveChooserRoundTrip();
    void realOpenChooserListsNamesWithoutDot();
};

void TstModule1::savedNameFollowsCsvRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    QTest::newRow("no suffix gets .csv") << u"result"_s << u"result.csv"_s;
    QTest::newRow("suffix in any case kept") << u"Result.CSV"_s << u"Result.CSV"_s;
    QTest::newRow("other suffix gets .csv too") << u"data.txt"_s << u"data.txt.csv"_s;
    QTest::newRow("suffix must be the last four") << u"a.csvx"_s << u"a.csvx.csv"_s;
    QTest::newRow("name shorter than four") << u"csv"_s << u"csv.csv"_s;
}

void TstModule1::savedNameFollowsCsvRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    TestEnvironment env;
    const QDir desktop(desktopOf(env));
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    dialogs.chooseSaveFile(desktop.filePath(typed));

    const CsvSaveResult result = module.SaveAsCSV(u"a,b"_s);

    QCOMPARE(result.status, Status::Saved);
    QCOMPARE(result.path, desktop.filePath(written));
    QCOMPARE(module.LastCSVPath(), desktop.filePath(written));
    QCOMPARE(desktop.entryList(QDir::Files), QStringList{written});
    QCOMPARE(readFile(desktop.filePath(written)), "a,b\r\n");
}

void TstModule1::fileIsShiftJisEndingInCrLf()
{
    TestEnvironment env;
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    const QString path = QDir(desktopOf(env)).filePath(u"out.csv"_s);
    dialogs.chooseSaveFile(path);

    QCOMPARE(module.SaveAsCSV(u"ﾏｲﾙ,時速①\r\n"_s).status, Status::Saved);

    // ﾏｲﾙ in half-width kana, 時速 in kanji, ① from the vendor extension, then two line ends.
    QCOMPARE(readFile(path), QByteArray::fromHex("cfb2d92c8e9e91ac87400d0a0d0a"));
}

void TstModule1::chooserOffersLastPathUntilCancelled()
{
    TestEnvironment env;
    const QDir desktop(desktopOf(env));
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    dialogs.chooseSaveFile(desktop.filePath(u"first"_s));
    dialogs.chooseSaveFile(QString());
    dialogs.chooseSaveFile(desktop.filePath(u"third.csv"_s));

    QCOMPARE(module.SaveAsCSV(u"1"_s).status, Status::Saved);
    QCOMPARE(module.SaveAsCSV(u"2"_s).status, Status::Cancelled);
    QVERIFY(module.LastCSVPath().isEmpty());
    QCOMPARE(module.SaveAsCSV(u"3"_s).status, Status::Saved);

    QCOMPARE(dialogs.saveRequests.size(), 3);
    const Dialogs::FileRequest& first = dialogs.saveRequests[0];
    QCOMPARE(first.title, kSaveTitle.toString());
    QCOMPARE(first.filters, (QStringList{kCsvFilter.toString(), kAllFilter.toString()}));
    QCOMPARE(first.folder, desktop.path());
    QCOMPARE(first.fileName, QString());
    QCOMPARE(dialogs.saveRequests[1].fileName, desktop.filePath(u"first.csv"_s));
    QCOMPARE(dialogs.saveRequests[2].fileName, QString());
    QCOMPARE(readFile(desktop.filePath(u"first.csv"_s)), "1\r\n");
    QVERIFY(dialogs.messages.isEmpty());
}

void TstModule1::completedNameAsksBeforeReplacing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer"); // -1: no question expected
    QTest::addColumn<Status>("status");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("yes replaces") << u"out"_s << int(Dialogs::Answer::Yes) << Status::Saved
                                  << QByteArray("new\r\n");
    QTest::newRow("no keeps old file")
        << u"out"_s << int(Dialogs::Answer::No) << Status::Cancelled << QByteArray("old");
    QTest::newRow("name as typed was confirmed by the chooser")
        << u"out.csv"_s << -1 << Status::Saved << QByteArray("new\r\n");
}

void TstModule1::completedNameAsksBeforeReplacing()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(Status, status);
    QFETCH(QByteArray, content);
    TestEnvironment env;
    const QDir desktop(desktopOf(env));
    const QString target = desktop.filePath(u"out.csv"_s);
    QVERIFY(writeFile(target, "old"));
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    dialogs.chooseSaveFile(desktop.filePath(typed));
    if (answer >= 0)
        dialogs.answerNext(Dialogs::Answer(answer));

    QCOMPARE(module.SaveAsCSV(u"new"_s).status, status);

    QCOMPARE(readFile(target), content);
    QCOMPARE(module.LastCSVPath(), target);
    QCOMPARE(dialogs.messages.size(), answer >= 0 ? 1 : 0);
    if (answer >= 0) {
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Information);
        QCOMPARE(dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
        QVERIFY(dialogs.messages[0].text.contains(u"out.csv"_s));
    }
}

enum class Failure
{
    TargetIsFolder,
    FolderMissing,
    DiskFull
};

void TstModule1::failedWriteLeavesOldFile_data()
{
    QTest::addColumn<Failure>("failure");

    QTest::newRow("target is a folder") << Failure::TargetIsFolder;
    QTest::newRow("folder missing") << Failure::FolderMissing;
    QTest::newRow("disk full while writing keeps old file") << Failure::DiskFull;
}

void TstModule1::failedWriteLeavesOldFile()
{
    QFETCH(Failure, failure);
    TestEnvironment env;
    QDir desktop(desktopOf(env));
    QString target = desktop.filePath(u"out.csv"_s);
    switch (failure) {
    case Failure::TargetIsFolder:
        QVERIFY(desktop.mkdir(u"out.csv"_s));
        break;
    case Failure::FolderMissing:
        target = desktop.filePath(u"missing/out.csv"_s);
        break;
    case Failure::DiskFull:
        QVERIFY(writeFile(target, "old"));
        break;
    }
    const QStringList before = desktop.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    dialogs.chooseSaveFile(target);

    CsvSaveResult result;
    {
        const FileSizeLimit limit(failure == Failure::DiskFull ? 64 : RLIM_INFINITY);
        result = module.SaveAsCSV(QString(1000, u'x'));
    }

    QCOMPARE(result.status, Status::WriteFailed);
    QVERIFY(!result.detail.isEmpty());
    QCOMPARE(module.LastCSVPath(), target);
    QCOMPARE(desktop.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (failure == Failure::DiskFull)
        QCOMPARE(readFile(target), "old");
}

void TstModule1::unencodableTextIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<char32_t>("character");

    QTest::newRow("emoji outside the basic plane") << u"5:00 🏃 ok"_s << char32_t(0x1F3C3);
    QTest::newRow("wave dash") << u"5〜6"_s << char32_t(0x301C);
    QTest::newRow("accented letter") << u"café"_s << char32_t(0xE9);
}

void TstModule1::unencodableTextIsRefused()
{
    QFETCH(QString, text);
    QFETCH(char32_t, character);
    TestEnvironment env;
    ScriptedDialogs dialogs; // no chooser scripted: opening one fails the test
    Module1 module(dialogs, nullptr);

    const CsvSaveResult result = module.SaveAsCSV(text);

    QCOMPARE(result.status, Status::Unencodable);
    QCOMPARE(result.character, character);
    QVERIFY(dialogs.saveRequests.isEmpty());
    QVERIFY(QDir(desktopOf(env)).isEmpty());
}

void TstModule1::shellOpen_data()
{
    // "%1" stands for a temporary folder holding notes.txt and a file named with shell
    // metacharacters.
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("opens");

    QTest::newRow("https address") << u"https://torvanu.example.org/help/"_s << true;
    QTest::newRow("http address with query") << u"http://example.org/a?b=c&d=$(id)"_s << true;
    QTest::newRow("upper-case scheme") << u"HTTPS://example.org/"_s << true;
    QTest::newRow("existing file") << u"%1/notes.txt"_s << true;
    QTest::newRow("existing folder") << u"%1"_s << true;
    QTest::newRow("metacharacters are part of the name") << u"%1/a;b $(id) `x` &|.txt"_s << true;
    QTest::newRow("missing file") << u"%1/missing.txt"_s << false;
    QTest::newRow("empty text") << QString() << false;
    QTest::newRow("relative path") << u"notes.txt"_s << false;
    QTest::newRow("path from another system") << u"C:\\Data\\race3.csv"_s << false;
    QTest::newRow("file url") << u"file://%1/notes.txt"_s << false;
    QTest::newRow("javascript") << u"javascript:alert(1)"_s << false;
    QTest::newRow("mailto") << u"mailto:runner@example.org"_s << false;
    QTest::newRow("ftp") << u"ftp://example.org/x"_s << false;
    QTest::newRow("address with a blank") << u"https://example.org/a b"_s << false;
    QTest::newRow("address without host") << u"https:///etc/passwd"_s << false;
    QTest::newRow("resource inside the program") << u":/torvanu.png"_s << false;
}

void TstModule1::shellOpen()
{
    QFETCH(QString, target);
    QFETCH(bool, opens);
    TestEnvironment env;
    const QString folder = env.path();
    QVERIFY(writeFile(env.filePath(u"notes.txt"_s), "n"));
    QVERIFY(writeFile(env.filePath(u"a;b $(id) `x` &|.txt"_s), "m"));
    if (target.contains(u"%1"_s))
        target = target.arg(folder);
    ScriptedDialogs dialogs;
    const Module1 module(dialogs, nullptr);

    module.ShellOpen(target);

    QVERIFY(dialogs.messages.isEmpty());
    if (!opens) {
        QCOMPARE(dialogs.openedUrls, QList<QUrl>());
        return;
    }
    QCOMPARE(dialogs.openedUrls.size(), 1);
    const QUrl url = dialogs.openedUrls.first();
    if (target.startsWith(u'/')) {
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), target);
    } else {
        QCOMPARE(url, QUrl(target));
    }
}

void TstModule1::desktopPathOnlyWhenFolderExists()
{
    TestEnvironment env;
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);

    QCOMPARE(module.GetDesktopPath(), desktopOf(env));
    QVERIFY(QDir(desktopOf(env)).removeRecursively());
    QCOMPARE(module.GetDesktopPath(), QString());

    // Without a desktop the CSV chooser starts in the home folder, not in the folder the
    // program was started from.
    QVERIFY(QDir::setCurrent(env.path()));
    dialogs.chooseSaveFile(QString());
    QCOMPARE(module.SaveAsCSV(u"1"_s).status, Status::Cancelled);
    QCOMPARE(dialogs.saveRequests.size(), 1);
    QCOMPARE(dialogs.saveRequests[0].folder, QDir::homePath());
    QVERIFY(QDir::homePath() != env.path());
}

void TstModule1::unloadClosesEveryWindowOnce()
{
    ScriptedDialogs dialogs;
    Module1 module(dialogs, nullptr);
    CountingWindow main;
    CountingWindow other;
    CountingWindow hidden;
    // As the main window does: its close handler ends the program.
    main.onClose = [&module] { module.UnloadAllForms(); };
    main.show();
    other.show();

    QTimer::singleShot(0, &main, [&main] { main.close(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    const int code = QCoreApplication::exec();
    guard.stop();

    QCOMPARE(code, 0);
    QCOMPARE(main.closes, 1);
    QCOMPARE(other.closes, 1);
    QCOMPARE(hidden.closes, 1);
    QVERIFY(!main.isVisible());
    QVERIFY(!other.isVisible());

    module.UnloadAllForms();
    QCOMPARE(main.closes + other.closes + hidden.closes, 3);
}

void TstModule1::realSaveChooserRoundTrip()
{
    TestEnvironment env;
    const QDir desktop(desktopOf(env));
    torvanu::QtDialogs dialogs;
    Module1 module(dialogs, nullptr);

    QString filterShown;
    QString firstFolder;
    CsvSaveResult first;
    {
        ModalRobot typeName({[&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser);
            filterShown = chooser->findChild<QComboBox*>(u"fileTypeCombo"_s)->currentText();
            firstFolder = chooser->directory().absolutePath();
            auto* name = chooser->findChild<QLineEdit*>(u"fileNameEdit"_s);
            QTest::keyClicks(name, u"result"_s);
            QTest::keyClick(name, Qt::Key_Return);
        }});
        first = module.SaveAsCSV(u"first"_s);
        QVERIFY(typeName.done());
    }

    QCOMPARE(first.status, Status::Saved);
    // The caption is shown without the patterns that really filter.
    QCOMPARE(filterShown, kCsvFilter.toString());
    QCOMPARE(firstFolder, desktop.path());
    QCOMPARE(readFile(desktop.filePath(u"result.csv"_s)), "first\r\n");

    // The second export offers the full path of the first; keeping it asks about the
    // existing file, No goes back to the chooser, and cancelling writes nothing.
    QString offeredFolder;
    QString offeredName;
    QString question;
    ModalRobot keepName({[&](QWidget* modal) {
                             auto* chooser = qobject_cast<QFileDialog*>(modal);
                             QVERIFY(chooser);
                             offeredFolder = chooser->directory().absolutePath();
                             offeredName =
                                 chooser->findChild<QLineEdit*>(u"fileNameEdit"_s)->text();
                             static_cast<QDialog*>(chooser)->accept();
                         },
                         [&](QWidget* modal) {
                             auto* box = qobject_cast<QMessageBox*>(modal);
                             QVERIFY(box);
                             question = box->text();
                             box->button(QMessageBox::No)->click();
                         },
                         [&](QWidget* modal) {
                             auto* chooser = qobject_cast<QFileDialog*>(modal);
                             QVERIFY(chooser);
                             chooser->reject();
                         }});
    const CsvSaveResult second = module.SaveAsCSV(u"second"_s);
    QVERIFY(keepName.done());

    QCOMPARE(second.status, Status::Cancelled);
    QCOMPARE(offeredFolder, desktop.path());
    QCOMPARE(offeredName, u"result.csv"_s);
    QVERIFY(question.contains(u"result.csv"_s));
    QCOMPARE(readFile(desktop.filePath(u"result.csv"_s)), "first\r\n");
    QCOMPARE(module.LastCSVPath(), QString());
}

void TstModule1::realOpenChooserListsNamesWithoutDot()
{
    TestEnvironment env;
    const QDir folder(env.path());
    QVERIFY(writeFile(folder.filePath(u"README"_s), "r"));
    QVERIFY(writeFile(folder.filePath(u"notes.txt"_s), "n"));
    torvanu::QtDialogs dialogs;
    Module1 module(dialogs, nullptr);

    QString filterShown;
    QString startFolder;
    QStringList listed;
    QString chosen;
    {
        ModalRobot pickReadme({[&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser);
            filterShown = chooser->findChild<QComboBox*>(u"fileTypeCombo"_s)->currentText();
            startFolder = chooser->directory().absolutePath();
            const auto* view = chooser->findChild<QListView*>(u"listView"_s);
            const auto rows = [view] { return view->model()->rowCount(view->rootIndex()); };
            // home, README and notes.txt, once the folder has been read
            (void)QTest::qWaitFor([&] { return rows() >= 3; }, 3000);
            for (int row = 0; row < rows(); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            // The chooser selects the field's file once the folder is read, and a selection
            // wins over typed text: pick README in the list, as a user clicking it would.
            (void)QTest::qWaitFor([&] { return view->selectionModel()->hasSelection(); }, 3000);
            const QModelIndexList readme =
                view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                     u"README"_s, 1, Qt::MatchExactly);
            QCOMPARE(readme.size(), 1);
            view->selectionModel()->setCurrentIndex(
                readme.first(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            static_cast<QDialog*>(chooser)->accept();
        }});
        // The field holds a file: the chooser starts in that file's folder.
        chosen = module.BrowseDataFile(nullptr, folder.filePath(u"notes.txt"_s));
        QVERIFY(pickReadme.done());
    }

    QCOMPARE(chosen, folder.filePath(u"README"_s));
    QCOMPARE(filterShown, kAllFilter.toString());
    QCOMPARE(startFolder, folder.path());
    QVERIFY2(listed.contains(u"README"_s), qPrintable(listed.join(u", "_s)));
    QVERIFY(listed.contains(u"notes.txt"_s));
}

QTEST_MAIN(TstModule1)
#include "tst_module1.moc"
