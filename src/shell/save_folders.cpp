#include "shell/save_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace torvanu {

QString homeFolder()
{
    return QDir::homePath();
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return homeFolder();
}

QString SaveFolders::startFolder(Kind kind) const
{
    const QString& last = m_last[static_cast<std::size_t>(kind)];
    // A folder removed since falls back as if nothing had been saved.
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return documentsFolder();
}

void SaveFolders::remember(Kind kind, const QString& savedPath)
{
    m_last[static_cast<std::size_t>(kind)] = QFileInfo(savedPath).absolutePath();
}

} // namespace torvanu
