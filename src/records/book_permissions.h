#pragma once

#include <QFileDevice>
#include <QString>

#include <optional>

namespace torvanu {

// The permission bits of the record book at bookPath (through a symbolic link, those of the
// file it points to), or nothing when there is no book yet: a new file then gets what the
// user's umask gives.
std::optional<QFileDevice::Permissions> bookPermissions(const QString& bookPath);

// Gives the file at path exactly the book's permission bits, so that a copy of the records is
// never readable by more people than the book itself. True when done, or when there is no book
// to take them from.
bool applyBookPermissions(const QString& bookPath, const QString& path);

} // namespace torvanu
