#pragma once

#include <QString>

namespace torvanu {

enum class FolderPolicy
{
    Refuse, // a record's data file must be a file
    Open,   // a folder opens in the file manager
};

// Whether a local path may be handed to the desktop to open with its associated program.
bool isOpenableFile(const QString& path, FolderPolicy folders = FolderPolicy::Refuse);

} // namespace torvanu
