#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace torvanu {

struct DataLocationError
{
    QString folder; // the per-user folder that could not be created or written
};

// Where log.dat is read at start and written at close. The two differ only for the first run
// after the program's folder stopped being writable (an installed copy that used to run from
// a writable folder): the old book is read and the first save writes the per-user copy.
struct DataLocation
{
    QString readFolder;
    QString writeFolder;
    std::optional<DataLocationError> error; // writeFolder is not usable; saving will fail

    bool moving() const { return readFolder != writeFolder; }
};

// Answers whether a new file can be created in a folder. Passed in so that tests, which run
// as root where permission bits stop nothing, can say "not writable".
using FolderProbe = std::function<bool(const QString& folder)>;

// True when a file can be created in folder, tried the way QSaveFile writes: a temporary file
// beside the target, removed again at once.
bool canCreateFilesIn(const QString& folder);

// The program's folder when it is writable, so that a copy run from its build folder keeps
// log.dat beside itself; otherwise perUserFolder (the platform's per-user data folder for the
// program), created when missing. Touches nothing but the file system.
DataLocation chooseDataLocation(const QString& programFolder, const QString& perUserFolder,
                                const FolderProbe& canWrite = canCreateFilesIn);

} // namespace torvanu
