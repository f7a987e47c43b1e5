#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace torvanu {

struct DataLocationError
{
    QString folder; // the per-user folder that could not be created or written
};

// Where log.dat is read at start and written at close. The book is always written to the
// per-user folder: the program's folder is a build folder that `make clean` wipes, or an
// installed folder no package manager expects the program to write. A book left beside the
// program by an older version is read while it is the newer of the two, and the first save
// carries it over.
struct DataLocation
{
    QString readFolder;
    QString writeFolder;
    std::optional<DataLocationError> error; // writeFolder is not usable; saving will fail

    bool moving() const { return readFolder != writeFolder; }
};

// The full path of the record book in folder.
QString logFilePath(const QString& folder);

// Answers whether a new file can be created in a folder. Passed in so that tests, which run
// as root where permission bits stop nothing, can say "not writable".
using FolderProbe = std::function<bool(const QString& folder)>;

// True when a file can be created in folder, tried the way QSaveFile writes: a temporary file
// beside the target, removed again at once.
bool canCreateFilesIn(const QString& folder);

// Writes to perUserFolder (the platform's per-user data folder for the program), created when
// missing. Reads whichever of the two books was written last, the per-user one on a tie, so
// an older book is never shown and then saved over a newer one. canWrite checks the per-user
// folder only. Touches nothing but the file system.
DataLocation chooseDataLocation(const QString& programFolder, const QString& perUserFolder,
                                const FolderProbe& canWrite = canCreateFilesIn);

} // namespace torvanu
