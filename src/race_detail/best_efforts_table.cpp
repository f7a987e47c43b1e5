#include "race_detail/best_efforts_table.h"

#include "race_detail/text_table.h"
#include "views/race_detail/race_detail_texts.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kLeastRowsShown = 2;

} // namespace

QGroupBox* bestEffortsFrame(const BestEffortsView& view)
{
    const int rows = static_cast<int>(view.rows.size());
    // The distance reads as a name, the rest as numbers whose digits line up.
    QTableWidget* table = textTable(u"BestEfforts"_s, view.headers, view.rows, true);
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
