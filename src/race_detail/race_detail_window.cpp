#include "race_detail/race_detail_window.h"

#include "export/table_csv.h"
#include "shell/chart_view.h"
#include "shell/dialogs.h"
#include "shell/module1.h"
#include "views/race_detail/race_detail_texts.h"
#include "shell/escape_closes.h"
#include "shell/screen_share.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QSize kStartSize(900, 600);
constexpr int kRowPadding = 6;
// With every channel's column the split table takes 400 px: on a laptop at 200 % (683 px) the
// chart gives way down to this, so that no column of the table is cut off.
constexpr int kNarrowestChart = 160;

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

// The split table with the button that saves it below.
QWidget* splitPart(const RaceDetailView& view, QPushButton* saveCsv)
{
    auto* part = new QWidget;
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins({});
    layout->addWidget(splitTable(view));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveCsv);
    layout->addLayout(buttons);
    return part;
}

// The race's name and date from the heading's first line, as a file name can hold it.
QString csvName(const QString& heading)
{
    QString name = heading.section(u'\n', 0, 0).simplified();
    for (const QChar c : u"/\\:*?\"<>|"_s)
        name.replace(c, u'_');
    name.replace(u"　"_s, u"_"_s);
    return name.isEmpty() ? kSplitCsvName.toString() : name + u'_' + kSplitCsvName.toString();
}

} // namespace

RaceDetailWindow::RaceDetailWindow(RaceDetailData data, Dialogs& dialogs, Module1* module1,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_data(std::move(data)), m_dialogs(dialogs),
      m_ownModule1(module1 ? nullptr : std::make_unique<Module1>(dialogs, this)),
      m_module1(module1 ? module1 : m_ownModule1.get())
{
    setObjectName(u"RaceDetail"_s);
    setWindowTitle(kRaceDetailTitle.toString());
    closeOnEscape(this);
    const RaceDetailView& view = m_data.view;

    auto* chart = new ChartView;
    chart->setObjectName(u"PaceChart"_s);
    chart->setData(view.chart);
    chart->setMinimumWidth(kNarrowestChart);
    chart->setToolTipText([this](int index) {
        const QStringList& tips = m_data.view.barTips;
        return index >= 0 && index < tips.size() ? tips[index] : QString();
    });

    auto* summary = new QVBoxLayout;
    summary->addWidget(label(u"RaceHeading"_s, m_data.heading));
    summary->addWidget(label(u"RaceSummary"_s, view.summary));
    if (!view.missingChannels.isEmpty())
        summary->addWidget(label(u"MissingChannels"_s, view.missingChannels));
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
    auto* saveCsv = new QPushButton(kSaveCsvButton.toString());
    saveCsv->setObjectName(u"SaveCsvButton"_s);
    connect(saveCsv, &QPushButton::clicked, this, &RaceDetailWindow::saveCsv);
    grid->addWidget(frame(kSplitFrame, splitPart(view, saveCsv)), 1, 0);
    grid->addWidget(frame(kPaceFrame, chart), 1, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setRowStretch(1, 1);

    resize(fitToScreen(kStartSize, QGuiApplication::primaryScreen()));
}

RaceDetailWindow::~RaceDetailWindow() = default;

void RaceDetailWindow::saveCsv()
{
    const CsvSaveResult saved = m_module1->SaveAsCSV(
        tableCsvText(m_data.view.headers, m_data.view.rows), csvName(m_data.heading));
    QString cause;
    if (saved.status == CsvSaveResult::Status::WriteFailed)
        cause = saved.detail;
    else if (saved.status == CsvSaveResult::Status::Unencodable)
        cause = kCsvUnencodable.toString().arg(QString::fromUcs4(&saved.character, 1));
    else
        return;
    QStringList lines{kCsvWriteFailed.toString()};
    if (!saved.path.isEmpty())
        lines.append(QDir::toNativeSeparators(saved.path));
    if (!cause.isEmpty())
        lines.append(cause);
    m_dialogs.message(this, lines.join(u'\n'), Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
}

} // namespace torvanu
