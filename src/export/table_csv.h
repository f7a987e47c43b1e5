#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace torvanu {

// A table as CSV: the header line, then a line per row, lines joined by CR LF (the save adds
// the last one). A cell holding a comma, a quote or a line break is quoted, its quotes doubled.
QString tableCsvText(const QStringList& headers, const std::vector<QStringList>& rows);

} // namespace torvanu
