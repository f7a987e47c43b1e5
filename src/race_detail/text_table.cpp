#include "race_detail/text_table.h"

#include <QHeaderView>
#include <QTableWidget>

namespace torvanu {

namespace {

constexpr int kRowPadding = 6;

} // namespace

QTableWidget* textTable(const QString& objectName, const QStringList& headers,
                        const std::vector<QStringList>& rows, bool nameColumn)
{
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headers.size()));
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    // A marathon's 43 rows: as many as the font allows in view, not the style's roomy rows.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QStringList& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < row.size() && c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            const Qt::Alignment side = nameColumn && c == 0 ? Qt::AlignLeft : Qt::AlignRight;
            item->setTextAlignment(side | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    return table;
}

} // namespace torvanu
