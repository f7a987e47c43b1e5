#include "single_window.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QByteArrayView kRaiseRequest = "raise\n";
constexpr QByteArrayView kRaisedAnswer = "raised\n";
// A first start that holds the lock may not be listening yet; it is asked again this often.
constexpr int kRetryMs = 20;
// A socket's address holds 108 bytes with its terminating zero; a little is kept spare.
constexpr qsizetype kMaxSocketPath = 100;

} // namespace

SingleWindow::SingleWindow(const QString& bookPath, QObject* parent)
    : QObject(parent), m_bookPath(bookPath)
{
}

SingleWindow::~SingleWindow()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleWindow::serverName(const QString& bookPath)
{
    const QString canonical = QFileInfo(bookPath).absoluteFilePath();
    // Beside the book, where only its owner can reach it, when the path fits a socket
    // address; else a name in the shared temporary folder, made private at listening.
    const QString beside = canonical + u".socket"_s;
    if (QFile::encodeName(beside).size() <= kMaxSocketPath)
        return beside;
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return u"torvanu-%1-%2"_s.arg(::getuid()).arg(QString::fromLatin1(digest));
}

QString SingleWindow::lockPath(const QString& bookPath)
{
    return bookPath + u".lock"_s;
}

SingleWindow::Claim SingleWindow::claim(std::chrono::milliseconds answerTimeout)
{
    const QString lock = lockPath(m_bookPath);
    QDir().mkpath(QFileInfo(lock).absolutePath());
    m_lockFd = ::open(QFile::encodeName(lock).constData(),
                      O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    // Without a lock file (a read-only folder, say) the window still opens: the single-window
    // check must never stop a start it cannot decide.
    if (m_lockFd < 0)
        return Claim::Owner;

    const QDeadlineTimer deadline(answerTimeout);
    const QString name = serverName(m_bookPath);
    for (;;) {
        if (::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) {
            listen();
            return Claim::Owner;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(m_lockFd);
            m_lockFd = -1;
            return Claim::Owner;
        }
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kRaiseRequest.data(), kRaiseRequest.size());
            QByteArray reply;
            while (!reply.contains('\n') && socket.waitForReadyRead(int(deadline.remainingTime())))
                reply += socket.readAll();
            if (reply.startsWith(kRaisedAnswer))
                return Claim::OtherRaised;
            if (deadline.hasExpired() || socket.state() == QLocalSocket::ConnectedState)
                return Claim::OtherSilent;
        }
        if (deadline.hasExpired())
            return Claim::OtherSilent;
        // Not listening yet, or it just ended: the lock is tried again.
        QThread::msleep(kRetryMs);
    }
}

void SingleWindow::listen()
{
    m_server = new QLocalServer(this);
    const QString name = serverName(m_bookPath);
    // Only a name in the shared folder needs Qt's private-socket dance (a folder made, the
    // socket moved out of it), which costs a few milliseconds of every start.
    if (!QDir::isAbsolutePath(name))
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a first start that crashed; the lock says no one listens on it.
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        qWarning("a second start cannot reach this window: %s",
                 qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &SingleWindow::answer);
}

void SingleWindow::answer()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                // Whatever sends more than a request without a line end is not a start.
                if (socket->bytesAvailable() > kRaiseRequest.size())
                    socket->abort();
                return;
            }
            const QByteArray request = socket->readLine(kRaiseRequest.size() + 1);
            if (request != kRaiseRequest) {
                socket->abort();
                return;
            }
            emit raiseRequested();
            socket->write(kRaisedAnswer.data(), kRaisedAnswer.size());
            socket->flush();
        });
    }
}

} // namespace torvanu
