#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QTableWidget;

namespace torvanu {

// A table of texts as the race detail shows them: read only, rows as close as the font allows,
// whole rows selected, Tab leaving it for the next control while the arrows move inside.
// Numbers are right-aligned so that their digits line up; with nameColumn the first column
// reads as a name, left-aligned.
QTableWidget* textTable(const QString& objectName, const QStringList& headers,
                        const std::vector<QStringList>& rows, bool nameColumn = false);

} // namespace torvanu
