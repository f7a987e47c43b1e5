#include "table_texts.h"

#include <QTableWidget>

namespace torvanu::test {

namespace {

QString textAt(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

QStringList rowTexts(const QTableWidget* table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts.append(textAt(table, row, c));
    return texts;
}

QStringList columnTexts(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts.append(textAt(table, r, column));
    return texts;
}

} // namespace torvanu::test
