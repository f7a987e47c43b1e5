#include "race_detail/race_detail_window.h"

#include "race_detail/best_efforts_table.h"
#include "shell/chart_view.h"
#include "views/race_detail/race_detail_texts.h"
#include "shell/escape_closes.h"
#include "shell/screen_share.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QSize kStartSize(900, 600);
constexpr int kRowPadding = 6;

QLabel* label(const QString& name, const QString& text)
{
    auto* shown = new QLabel(text);
    shown->setObjectName(name);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return shown;
}

QGroupBox* frame(QStringView title, QWidget* content)
{
    auto* box = new QGroupBox(title.toString());
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QTableWidget* splitTable(const RaceDetailView& view)
{
    auto* table =
        new QTableWidget(static_cast<int>(view.rows.size()), static_cast<int>(view.headers.size()));
    table->setObjectName(u"SplitTable"_s);
    table->setHorizontalHeaderLabels(view.headers);
    table->verticalHeader()->hide();
    // A marathon's 43 rows: as many as the font allows in view, not the style's roomy rows.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < table->rowCount(); ++r) {
        const QStringList& row = view.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < row.size() && c < table->columnCount(); ++c) {
            auto* item = new QTableWidgetItem(row[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    // The chart gives way first: a lap cut off is worse than a narrower chart.
    table->setMinimumWidth(table->horizontalHeader()->length() +
                           table->verticalScrollBar()->sizeHint().width() +
                           2 * table->frameWidth());
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

RaceDetailWindow::RaceDetailWindow(RaceDetailData data, QWidget* parent)
    : QWidget(parent, Qt::Window), m_data(std::move(data))
{
    setObjectName(u"RaceDetail"_s);
    setWindowTitle(kRaceDetailTitle.toString());
    closeOnEscape(this);
    const RaceDetailView& view = m_data.view;

    auto* chart = new ChartView;
    chart->setObjectName(u"PaceChart"_s);
    chart->setData(view.chart);
    chart->setToolTipText([this](int index) {
        const QStringList& tips = m_data.view.barTips;
        return index >= 0 && index < tips.size() ? tips[index] : QString();
    });

    auto* summary = new QVBoxLayout;
    summary->addWidget(label(u"RaceHeading"_s, m_data.heading));
    summary->addWidget(label(u"TotalLabel"_s, view.total));
    summary->addWidget(label(u"HalfSplit"_s, view.halfSplit));
    auto* extremes = new QHBoxLayout;
    extremes->addWidget(label(u"FastestKm"_s, view.fastest));
    extremes->addSpacing(24);
    extremes->addWidget(label(u"SlowestKm"_s, view.slowest));
    extremes->addStretch();
    summary->addLayout(extremes);
    summary->addWidget(label(u"EvenPace"_s, view.evenPace));

    auto* grid = new QGridLayout(this);
    grid->addLayout(summary, 0, 0, 1, 2);
    auto* tables = new QVBoxLayout;
    tables->addWidget(frame(kSplitFrame, splitTable(view)), 1);
    tables->addWidget(bestEffortsFrame(bestEffortsView(bestEfforts(m_data.activity.track))));
    grid->addLayout(tables, 1, 0);
    grid->addWidget(frame(kPaceFrame, chart), 1, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(1, 1);

    resize(fitToScreen(kStartSize, QGuiApplication::primaryScreen()));
}

} // namespace torvanu
