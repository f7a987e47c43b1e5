#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace torvanu {

struct AppendWriteError
{
    QString detail; // the system's wording, for a developer; a window shows its own text
};

// The one kind of file the program grows instead of replacing: a log of changes that must be
// on the disk before the user's next action. A replacement through QSaveFile would copy the
// whole log at every change; here each piece is appended and flushed (fdatasync), and the
// reader of such a file trusts only pieces that arrived whole. Never follows a symbolic link.
class AppendFile
{
public:
    explicit AppendFile(const QString& path) : m_path(path) {}
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    const QString& path() const { return m_path; }
    bool isOpen() const { return m_fd >= 0; }

    // A new, empty file in place of any old one, with at most the given permissions (the
    // umask may close it further), its folder entry flushed too.
    std::optional<AppendWriteError> create(QFileDevice::Permissions permissions);
    // An existing file, cut after its first keepBytes bytes (what was read whole of it).
    std::optional<AppendWriteError> openAfter(qint64 keepBytes);
    // All of bytes, on the disk when this returns without an error. On an error the file is
    // cut back to what it held before, so that a later piece does not follow a torn one.
    std::optional<AppendWriteError> append(QByteArrayView bytes);
    void close();

private:
    AppendWriteError cutBack(AppendWriteError error);

    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
};

} // namespace torvanu
