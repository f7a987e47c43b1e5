#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace torvanu {

class Dialogs;

// An older version kept log.dat beside the program. When that book and the one in the user's
// folder both exist and differ, the user chooses, seeing each one's path, date and number of
// races; the one chosen is read and saved where it is, the other is never written. Returns the
// chosen book's folder, or nothing when there was nothing to choose. Reads, never writes.
std::optional<QString> chooseBook(Dialogs& dialogs, QWidget* owner, const QString& olderFolder,
                                  const QString& userFolder);

} // namespace torvanu
