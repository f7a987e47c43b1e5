// One window per record book, tried with the real program started twice.
#include "shell/single_window.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace torvanu;

namespace {

constexpr int kStartMs = 60000; // a loaded machine starts the program slowly

QString bookPath(const QString& folder = u"Torvanu"_s)
{
    return QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath(folder + u"/log.dat"_s);
}

// True while some process holds the book's lock.
bool lockIsHeld()
{
    const int fd = ::open(QFile::encodeName(SingleWindow::lockPath(bookPath())).constData(),
                          O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

} // namespace

class TestSingleWindow : public QObject
{
    Q_OBJECT

private slots:
    void secondStartRaisesTheFirstAndACrashBlocksNothing();
    void hungFirstStartIsReported_data();
    void hungFirstStartIsReported();

private:
    // The real program, its data folder the environment's.
    void startProgram(QProcess& process)
    {
        process.setProgram(QStringLiteral(TORVANU_PROGRAM));
        process.start();
        QVERIFY(process.waitForStarted());
    }
};

void TestSingleWindow::secondStartRaisesTheFirstAndACrashBlocksNothing()
{
    test::TestEnvironment environment;

    QProcess first;
    startProgram(first);
    QTRY_VERIFY_WITH_TIMEOUT(lockIsHeld(), kStartMs);

    QProcess second;
    startProgram(second);
    QVERIFY(second.waitForFinished(kStartMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(second.readAllStandardOutput());
    QVERIFY2(said.contains(u"前面に出しました"_s) && said.contains(bookPath()), qPrintable(said));
    QCOMPARE(first.state(), QProcess::Running);

    // The first one crashes: its lock file and socket stay behind, and block nothing.
    QCOMPARE(::kill(pid_t(first.processId()), SIGKILL), 0);
    QVERIFY(first.waitForFinished());
    QVERIFY(QFile::exists(SingleWindow::lockPath(bookPath())));
    QProcess third;
    startProgram(third);
    QTRY_VERIFY_WITH_TIMEOUT(lockIsHeld(), kStartMs);
    QProcess fourth;
    startProgram(fourth);
    QVERIFY(fourth.waitForFinished(kStartMs));
    QCOMPARE(fourth.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(fourth.readAllStandardOutput()).contains(u"前面"_s));

    // Ended as the session ends it: a normal close, which gives the book up.
    QCOMPARE(::kill(pid_t(third.processId()), SIGTERM), 0);
    QVERIFY(third.waitForFinished(kStartMs));
    QCOMPARE(third.exitStatus(), QProcess::NormalExit);
    QVERIFY(!lockIsHeld());
}

void TestSingleWindow::hungFirstStartIsReported_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("earlierStarts"); // starts that gave up on it before
    QTest::newRow("socket beside the book") << u"Torvanu"_s << 0;
    // Too long a path for a socket address: the socket goes to the user's runtime folder.
    QTest::newRow("socket in the runtime folder") << u"Torvanu/%1"_s.arg(QString(120, u'd')) << 0;
    // Its queue of connections full: a start is refused at once and still gives up in time.
    QTest::newRow("queue full") << u"Torvanu"_s << 10;
}

void TestSingleWindow::hungFirstStartIsReported()
{
    QFETCH(QString, folder);
    QFETCH(int, earlierStarts);
    test::TestEnvironment environment;
    const QString book = bookPath(folder);
    // A first start that holds the book and listens but never answers: this process's own
    // event loop does not run while the second one waits.
    auto first = std::make_unique<SingleWindow>(book);
    QCOMPARE(first->claim(), SingleWindow::Claim::Owner);
    const QString socket = SingleWindow::serverName(book);
    QVERIFY2(socket.startsWith(environment.path()) && QFile::exists(socket), qPrintable(socket));
    int raised = 0;
    connect(first.get(), &SingleWindow::raiseRequested, this, [&raised] { ++raised; });

    for (int i = 0; i < earlierStarts; ++i)
        QCOMPARE(SingleWindow(book).claim(std::chrono::milliseconds(50)),
                 SingleWindow::Claim::OtherSilent);
    SingleWindow second(book);
    QCOMPARE(second.claim(std::chrono::milliseconds(200)), SingleWindow::Claim::OtherSilent);
    // Once it answers again, the requests that waited are served.
    if (earlierStarts == 0)
        QTRY_COMPARE(raised, 1);
    else
        QTRY_VERIFY(raised >= 1);
    // The socket goes with its window.
    first.reset();
    QVERIFY(!QFile::exists(socket));
}

QTEST_GUILESS_MAIN(TestSingleWindow)
#include "tst_single_window.moc"
