#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include <optional>

namespace torvanu {

// Why a file could not be written; the old file at the path, if any, is whole.
struct AtomicWriteError
{
    QString detail; // the system's wording, for a developer; a window shows its own text
};

// Every file the program writes goes through here. QSaveFile writes beside the target and
// renames at commit, so a failure at any step leaves an existing file as it was. Unbuffered,
// because a buffered QSaveFile writes the last part only while committing and does not notice
// a short write there (a full disk): it would replace the old file with a cut one and report
// success. Until commit() succeeds, dropping the object throws the new text away.
class AtomicFile
{
public:
    explicit AtomicFile(const QString& path) : m_file(path) {}
    // The new file gets these permission bits from its creation on, before any byte is in it.
    AtomicFile(const QString& path, std::optional<QFileDevice::Permissions> permissions)
        : m_file(path), m_permissions(permissions)
    {
    }

    std::optional<AtomicWriteError> open();
    // Writes all of bytes or reports why not; after an error, only dropping the file is left.
    std::optional<AtomicWriteError> write(QByteArrayView bytes);
    std::optional<AtomicWriteError> commit();

private:
    QSaveFile m_file;
    std::optional<QFileDevice::Permissions> m_permissions;
};

// The whole file at once.
std::optional<AtomicWriteError>
writeFileAtomically(const QString& path, QByteArrayView bytes,
                    std::optional<QFileDevice::Permissions> permissions = std::nullopt);

} // namespace torvanu
