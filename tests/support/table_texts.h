#pragma once

#include <QStringList>

class QTableWidget;

namespace torvanu::test {

// The texts of one row or one column as the user reads them; an empty cell reads as "".
QStringList rowTexts(const QTableWidget* table, int row);
QStringList columnTexts(const QTableWidget* table, int column);

} // namespace torvanu::test
