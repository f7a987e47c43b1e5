#include "unix_socket.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace torvanu::unix_socket {

namespace {

// An answer longer than this is no answer of ours.
constexpr qsizetype kMaxAnswer = 64;
constexpr int kBacklog = 4;

bool makeAddress(const QByteArray& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() > kMaxPath)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

Listening listenAt(const QByteArray& path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return {-1, u"the socket's path is longer than %1 bytes"_s.arg(kMaxPath)};
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {-1, systemError()};
    // Only a socket is replaced: the lock held by the caller says no one listens on it.
    struct stat left;
    if (::lstat(path.constData(), &left) == 0 && S_ISSOCK(left.st_mode))
        ::unlink(path.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        const QString error = systemError();
        ::close(fd);
        return {-1, error};
    }
    return {fd, QString()};
}

int connectTo(const QByteArray& path)
{
    sockaddr_un address;
    if (!makeAddress(path, address))
        return -1;
    // Non-blocking: a listener that no longer accepts, its queue full, would otherwise hold
    // the connecting start for ever; this way it is refused at once and asked again.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int acceptNext(int listeningFd)
{
    return ::accept4(listeningFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

bool sendAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(fd, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes = bytes.sliced(sent);
    }
    return true;
}

Answer ask(int fd, QByteArrayView request, QDeadlineTimer deadline)
{
    Answer answer;
    if (!sendAll(fd, request)) {
        answer.closed = true;
        return answer;
    }
    QByteArray received;
    while (!received.contains('\n') && received.size() < kMaxAnswer) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[kMaxAnswer];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            answer.closed = true;
            break;
        }
        received.append(buffer, got);
    }
    if (const qsizetype end = received.indexOf('\n'); end >= 0)
        answer.line = received.left(end + 1);
    return answer;
}

QString privateFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!QDir::isAbsolutePath(base) || !QFileInfo(base).isDir())
        base = QDir::tempPath();
    const QString folder = u"%1/torvanu-%2"_s.arg(base).arg(::getuid());
    const QByteArray encoded = QFile::encodeName(folder);
    if (::mkdir(encoded.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return {};
    // Someone else's folder, or one others may write to, could hand our requests to them.
    struct stat found;
    if (::lstat(encoded.constData(), &found) != 0 || !S_ISDIR(found.st_mode) ||
        found.st_uid != ::getuid() || (found.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return {};
    return folder;
}

} // namespace torvanu::unix_socket
