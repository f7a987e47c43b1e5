#include "race_detail/best_efforts_table.h"

#include "views/race_detail/race_detail_texts.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kRowPadding = 6;
constexpr int kLeastRowsShown = 2;

} // namespace

QGroupBox* bestEffortsFrame(const BestEffortsView& view)
{
    const int rows = static_cast<int>(view.rows.size());
    auto* table = new QTableWidget(rows, static_cast<int>(view.headers.size()));
    table->setObjectName(u"BestEfforts"_s);
    table->setHorizontalHeaderLabels(view.headers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    for (int r = 0; r < rows; ++r) {
        const QStringList& row = view.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < row.size() && c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            // The distance reads as a name, the rest as numbers whose digits line up.
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    // Seven rows at most: the table asks for no more than their height, and on a low screen
    // gives way to the splits down to two rows, scrolling.
    const auto heightFor = [table](int shown) {
        return table->horizontalHeader()->sizeHint().height() +
               shown * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    };
    table->setMaximumHeight(heightFor(rows));
    table->setMinimumHeight(heightFor(std::min(rows, kLeastRowsShown)));

    auto* box = new QGroupBox(kEffortFrame.toString());
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(table);
    // The table stands at the top of its frame when the frame is given more room.
    layout->addStretch();
    return box;
}

} // namespace torvanu
