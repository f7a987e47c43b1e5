#include "records/data_location.h"

#include "records/log_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QFileInfo logFileIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    return QFileInfo(logFilePath(folder));
}

} // namespace

QString logFilePath(const QString& folder)
{
    return QDir(folder).filePath(LogFile::kFileName.toString());
}

bool canCreateFilesIn(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(u".torvanu-probe-XXXXXX"_s));
    return probe.open();
}

DataLocation chooseDataLocation(const QString& programFolder, const QString& perUserFolder,
                                const FolderProbe& canWrite)
{
    DataLocation location{perUserFolder, perUserFolder, std::nullopt};
    // An empty name would make QDir work in the current folder, wherever that happens to be.
    if (perUserFolder.isEmpty() || !QDir().mkpath(perUserFolder) || !canWrite(perUserFolder))
        location.error = DataLocationError{perUserFolder};

    const QFileInfo besideProgram = logFileIn(programFolder);
    const QFileInfo perUser = logFileIn(perUserFolder);
    if (!besideProgram.isFile())
        return location;
    if (!perUser.isFile() || besideProgram.lastModified() > perUser.lastModified())
        location.readFolder = programFolder;
    return location;
}

} // namespace torvanu
