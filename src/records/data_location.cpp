#include "records/data_location.h"

#include "records/log_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

bool holdsLogFile(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return QFileInfo(QDir(folder).filePath(LogFile::FileName.toString())).isFile();
}

} // namespace

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
    if (canWrite(programFolder))
        return {programFolder, programFolder, std::nullopt};

    DataLocation location{perUserFolder, perUserFolder, std::nullopt};
    // An empty name would make QDir work in the current folder, wherever that happens to be.
    if (perUserFolder.isEmpty() || !QDir().mkpath(perUserFolder) || !canWrite(perUserFolder))
        location.error = DataLocationError{perUserFolder};

    // The per-user copy, once written, is the newer book; the one beside the program is read
    // only until then.
    if (!holdsLogFile(perUserFolder) && holdsLogFile(programFolder))
        location.readFolder = programFolder;
    return location;
}

} // namespace torvanu
