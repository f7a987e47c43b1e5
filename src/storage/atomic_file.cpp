#include "atomic_file.h"

#include <cerrno>

namespace torvanu {

std::optional<AtomicWriteError> AtomicFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return AtomicWriteError{m_file.errorString()};
    if (m_permissions && !m_file.setPermissions(*m_permissions)) {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        return AtomicWriteError{reason};
    }
    return std::nullopt;
}

std::optional<AtomicWriteError> AtomicFile::write(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    errno = 0;
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size()) {
        // The system's own words (a full disk, a file too large) say more than Qt's.
        const int code = errno;
        const QString reason = code != 0 ? qt_error_string(code) : m_file.errorString();
        m_file.cancelWriting();
        return AtomicWriteError{reason};
    }
    return std::nullopt;
}

std::optional<AtomicWriteError> AtomicFile::commit()
{
    if (!m_file.commit())
        return AtomicWriteError{m_file.errorString()};
    return std::nullopt;
}

std::optional<AtomicWriteError>
writeFileAtomically(const QString& path, QByteArrayView bytes,
                    std::optional<QFileDevice::Permissions> permissions)
{
    AtomicFile file(path, permissions);
    if (auto error = file.open())
        return error;
    if (auto error = file.write(bytes))
        return error;
    return file.commit();
}

} // namespace torvanu
