#pragma once

#include "history/found_activity.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace torvanu {

struct HistoryCopies
{
    QHash<QString, QString> paths;    // file as scanned → its path in the data folder
    QHash<QString, QString> problems; // file as scanned → why it has no copy
};

// The name a file's copy gets: its own, or, when code page 932 cannot hold that name (the
// book stores the path in it), one made from it that keeps the extension.
QString copyNameOf(const QString& file);

// Copies the files of a scan into the data folder's activities/, compressed or not as they
// are. A file already inside the data folder is not copied again, nor one whose copy is
// there with the same bytes; another file of the same name gets a number after its name.
// Nothing is written anywhere else.
HistoryCopies copyIntoDataFolder(SourceKind kind, const QString& source, const QStringList& files,
                                 const QString& dataFolder);

} // namespace torvanu
