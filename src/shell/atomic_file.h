#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace torvanu {

// Writes bytes to path so that a failure at any step leaves an existing file as it was.
// Returns the system's reason when the file was not written.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace torvanu
