#include "append_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvanu {

namespace {

AppendWriteError systemError(const char* step)
{
    return AppendWriteError{QString::fromLatin1(step) + QStringLiteral(": ") +
                            QString::fromLocal8Bit(std::strerror(errno))};
}

mode_t modeOf(QFileDevice::Permissions permissions)
{
    mode_t mode = 0;
    if (permissions & QFileDevice::ReadOwner)
        mode |= S_IRUSR;
    if (permissions & QFileDevice::WriteOwner)
        mode |= S_IWUSR;
    if (permissions & QFileDevice::ReadGroup)
        mode |= S_IRGRP;
    if (permissions & QFileDevice::WriteGroup)
        mode |= S_IWGRP;
    if (permissions & QFileDevice::ReadOther)
        mode |= S_IROTH;
    if (permissions & QFileDevice::WriteOther)
        mode |= S_IWOTH;
    // The program itself must be able to write it, whatever the book's bits say.
    return mode | S_IRUSR | S_IWUSR;
}

// A new file survives a power cut only once its folder's entry is on the disk too.
std::optional<AppendWriteError> syncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError("open folder");
    const bool synced = ::fsync(fd) == 0;
    const AppendWriteError error = synced ? AppendWriteError{} : systemError("fsync folder");
    if (::close(fd) != 0 && synced)
        return systemError("close folder");
    if (!synced)
        return error;
    return std::nullopt;
}

} // namespace

AppendFile::~AppendFile()
{
    close();
}

std::optional<AppendWriteError> AppendFile::create(QFileDevice::Permissions permissions)
{
    close();
    const QByteArray name = QFile::encodeName(m_path);
    // Opened exclusively after removing any old file, so an old file's wider bits or a link
    // planted at the name are never inherited.
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return systemError("unlink");
    m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC,
                  modeOf(permissions));
    if (m_fd < 0)
        return systemError("open");
    m_size = 0;
    if (auto error = syncFolderOf(m_path)) {
        close();
        return error;
    }
    return std::nullopt;
}

std::optional<AppendWriteError> AppendFile::openAfter(qint64 keepBytes)
{
    close();
    const QByteArray name = QFile::encodeName(m_path);
    m_fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0)
        return systemError("open");
    if (::ftruncate(m_fd, static_cast<off_t>(keepBytes)) != 0 || ::fdatasync(m_fd) != 0) {
        const AppendWriteError error = systemError("truncate");
        close();
        return error;
    }
    m_size = keepBytes;
    return std::nullopt;
}

std::optional<AppendWriteError> AppendFile::append(QByteArrayView bytes)
{
    if (m_fd < 0)
        return AppendWriteError{QStringLiteral("not open")};
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return cutBack(systemError("write"));
        }
        data += written;
        left -= written;
    }
    if (::fdatasync(m_fd) != 0)
        return cutBack(systemError("fdatasync"));
    m_size += bytes.size();
    return std::nullopt;
}

AppendWriteError AppendFile::cutBack(AppendWriteError error)
{
    // Best effort: when even this fails, the reader still stops at the torn piece.
    if (::ftruncate(m_fd, static_cast<off_t>(m_size)) != 0)
        error.detail += QStringLiteral(" (not cut back)");
    return error;
}

void AppendFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace torvanu
