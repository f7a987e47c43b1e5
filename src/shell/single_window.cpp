#include "single_window.h"

#include "unix_socket.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QByteArrayView kRaiseRequest = "raise\n";
constexpr QByteArrayView kRaisedAnswer = "raised\n";
// A first start that holds the lock may not be listening yet; it is asked again this often.
constexpr int kRetryMs = 20;
// Connections that have not yet said what they want; more are closed unheard.
constexpr int kMaxPendingRequests = 8;

// One connection to the window, read as its bytes arrive.
class PendingRequest : public QObject
{
public:
    enum class State
    {
        Waiting, // a beginning of the request, or nothing yet
        Raise,   // the whole request
        Refused, // anything else, or the connection ended
    };

    PendingRequest(int fd, QObject* parent)
        : QObject(parent), m_fd(fd),
          m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this))
    {
    }

    ~PendingRequest() override
    {
        m_notifier->setEnabled(false);
        ::close(m_fd);
    }

    QSocketNotifier* notifier() const { return m_notifier; }

    State read()
    {
        char buffer[kRaiseRequest.size() + 1];
        const ssize_t got = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? State::Waiting
                                                                             : State::Refused;
        if (got == 0)
            return State::Refused;
        m_received.append(buffer, got);
        if (m_received == kRaiseRequest)
            return State::Raise;
        return kRaiseRequest.startsWith(m_received) ? State::Waiting : State::Refused;
    }

    void answer() const { unix_socket::sendAll(m_fd, kRaisedAnswer); }

private:
    int m_fd;
    QSocketNotifier* m_notifier;
    QByteArray m_received;
};

} // namespace

SingleWindow::SingleWindow(const QString& bookPath, QObject* parent)
    : QObject(parent), m_bookPath(bookPath)
{
}

SingleWindow::~SingleWindow()
{
    if (m_listenFd >= 0) {
        m_listenNotifier->setEnabled(false);
        // Removed while the lock is held, so it is never another window's socket.
        ::unlink(m_socketPath.constData());
        ::close(m_listenFd);
    }
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleWindow::serverName(const QString& bookPath)
{
    const QString canonical = QFileInfo(bookPath).absoluteFilePath();
    // Beside the book, where only its owner can reach it, when the path fits a socket
    // address; else in a folder of the user's own.
    const QString beside = canonical + u".socket"_s;
    if (QFile::encodeName(beside).size() <= unix_socket::kMaxPath)
        return beside;
    const QString folder = unix_socket::privateFolder();
    if (folder.isEmpty())
        return {};
    const QByteArray digest =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    const QString name = folder + u'/' + QString::fromLatin1(digest);
    return QFile::encodeName(name).size() <= unix_socket::kMaxPath ? name : QString();
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
    const QByteArray socketPath = QFile::encodeName(serverName(m_bookPath));
    for (;;) {
        if (::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) {
            listen(socketPath);
            return Claim::Owner;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            ::close(m_lockFd);
            m_lockFd = -1;
            return Claim::Owner;
        }
        if (const int fd = unix_socket::connectTo(socketPath); fd >= 0) {
            const unix_socket::Answer answer = unix_socket::ask(fd, kRaiseRequest, deadline);
            ::close(fd);
            if (answer.line == kRaisedAnswer)
                return Claim::OtherRaised;
            if (deadline.hasExpired() || !answer.closed)
                return Claim::OtherSilent;
        }
        if (deadline.hasExpired())
            return Claim::OtherSilent;
        // Not listening yet, or it just ended: the lock is tried again.
        QThread::msleep(kRetryMs);
    }
}

void SingleWindow::listen(const QByteArray& socketPath)
{
    if (socketPath.isEmpty()) {
        qWarning("a second start cannot reach this window: no folder of the user's own for "
                 "its socket");
        return;
    }
    const unix_socket::Listening listening = unix_socket::listenAt(socketPath);
    if (listening.fd < 0) {
        qWarning("a second start cannot reach this window: %s: %s", socketPath.constData(),
                 qPrintable(listening.error));
        return;
    }
    m_listenFd = listening.fd;
    m_socketPath = socketPath;
    m_listenNotifier = new QSocketNotifier(m_listenFd, QSocketNotifier::Read, this);
    connect(m_listenNotifier, &QSocketNotifier::activated, this, &SingleWindow::answer);
}

void SingleWindow::answer()
{
    for (int fd = unix_socket::acceptNext(m_listenFd); fd >= 0;
         fd = unix_socket::acceptNext(m_listenFd)) {
        if (m_pendingRequests >= kMaxPendingRequests) {
            ::close(fd);
            continue;
        }
        auto* request = new PendingRequest(fd, this);
        ++m_pendingRequests;
        connect(request, &QObject::destroyed, this, [this] { --m_pendingRequests; });
        connect(request->notifier(), &QSocketNotifier::activated, request, [this, request] {
            const PendingRequest::State state = request->read();
            if (state == PendingRequest::State::Waiting)
                return;
            if (state == PendingRequest::State::Raise) {
                emit raiseRequested();
                request->answer();
            }
            request->notifier()->setEnabled(false);
            request->deleteLater();
        });
    }
}

} // namespace torvanu
