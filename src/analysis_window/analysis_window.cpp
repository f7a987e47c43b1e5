#include "analysis_window.h"

#include "analysis_window/effort_finder.h"
#include "views/analysis/analysis_texts.h"
#include "shell/chart_view.h"
#include "records/record_model.h"
#include "shell/dialogs.h"
#include "shell/save_failure.h"
#include "shell/save_flow.h"
#include "shell/save_folders.h"
#include "shell/escape_closes.h"
#include "shell/screen_share.h"

#include <QBuffer>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kModelColumns = static_cast<int>(kPredictionModels);
constexpr QSize kStartSize(1100, 700);
constexpr int kRowPadding = 6;
constexpr int kUnreadableRowsShown = 5;

QTableWidget* makeTable(const QString& name)
{
    auto* table = new QTableWidget;
    table->setObjectName(name);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    // The style's default row is sized for icons; text rows this tight show a whole season.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
    table->setWordWrap(false);
    // Tab leaves the table for the next control, as in every other window of the program; the
    // arrow keys move between cells.
    table->setTabKeyNavigation(false);
    return table;
}

// Only a table whose texts changed is filled again: an edit mostly changes none of them, and
// filling lays the table out and paints it anew.
void fillTable(QTableWidget* table, const TableView& view, TableView& shown)
{
    if (view == shown && table->rowCount() == static_cast<int>(view.rows.size()))
        return;
    shown = view;
    const QSignalBlocker quiet(table);
    table->clearContents();
    table->setColumnCount(static_cast<int>(view.headers.size()));
    table->setHorizontalHeaderLabels(view.headers);
    table->setRowCount(static_cast<int>(view.rows.size()));
    for (int r = 0; r < static_cast<int>(view.rows.size()); ++r) {
        const std::vector<ViewCell>& cells = view.rows[static_cast<std::size_t>(r)];
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c].text);
            item->setToolTip(cells[c].toolTip);
            const bool text = c < view.columns.size() && view.columns[c] == ColumnKind::Text;
            item->setTextAlignment((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            if (cells[c].bold) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            table->setItem(r, static_cast<int>(c), item);
        }
    }
    table->resizeColumnsToContents();
}

// The height that shows the header and that many rows, with room for a horizontal scroll
// bar when the columns are wider than the table.
int heightForRows(const QTableWidget* table, int rows)
{
    int height = table->horizontalHeader()->sizeHint().height() +
                 rows * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    if (table->horizontalHeader()->length() > table->viewport()->width())
        height += table->horizontalScrollBar()->sizeHint().height();
    return height;
}

QGroupBox* frame(QStringView caption, QWidget* content, QWidget* below = nullptr)
{
    auto* box = new QGroupBox(caption.toString());
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    if (below)
        layout->addWidget(below);
    return box;
}

} // namespace

AnalysisWindow::AnalysisWindow(const RecordModel& model, Services services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(model), m_services(std::move(services))
{
    setObjectName(u"AnalysisWindow"_s);
    setWindowTitle(kAnalysisTitle.toString());
    closeOnEscape(this);
    buildControls();
    buildLayout();
    followModel();
    connectControls();
    refresh();
}

void AnalysisWindow::buildControls()
{
    m_bestTable = makeTable(u"BestTable"_s);
    m_bestTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_yearTable = makeTable(u"YearTable"_s);
    m_trendChart = new ChartView;
    m_trendChart->setObjectName(u"TrendChart"_s);
    m_saveImage = new QPushButton(kSaveImageButton.toString());
    m_saveImage->setObjectName(u"SaveImageButton"_s);
    m_source = new QLabel;
    m_source->setObjectName(u"PredictionSource"_s);
    m_vdot = new QLabel;
    m_vdot->setObjectName(u"VdotLabel"_s);
    m_paces = new QLabel;
    m_paces->setObjectName(u"PacesLabel"_s);
    m_predictionTable = makeTable(u"PredictionTable"_s);
    m_target = new QPushButton(kTargetButton.toString());
    m_target->setObjectName(u"TargetButton"_s);
    m_unreadableTable = makeTable(u"UnreadableTable"_s);
    m_effortTable = makeTable(u"EffortTable"_s);
    m_effortProgress = new QLabel;
    m_effortProgress->setObjectName(u"EffortProgress"_s);
    m_efforts = new EffortFinder(m_services.effortCache.isEmpty() ? EffortCache::defaultPath()
                                                                  : m_services.effortCache,
                                 this);
}

// The chart with its button below it, on the right.
QWidget* AnalysisWindow::trendPane()
{
    auto* trendButtons = new QHBoxLayout;
    trendButtons->addStretch();
    trendButtons->addWidget(m_saveImage);
    auto* trend = new QWidget;
    auto* trendLayout = new QVBoxLayout(trend);
    trendLayout->setContentsMargins({});
    trendLayout->addWidget(m_trendChart, 1);
    trendLayout->addLayout(trendButtons);
    return trend;
}

// Where the predictions start from, the VDOT and paces, the table and its button.
QWidget* AnalysisWindow::predictionPane()
{
    auto* prediction = new QWidget;
    auto* predictionLayout = new QVBoxLayout(prediction);
    predictionLayout->setContentsMargins({});
    predictionLayout->addWidget(m_source);
    auto* vdotLine = new QHBoxLayout;
    vdotLine->addWidget(m_vdot);
    vdotLine->addSpacing(16);
    vdotLine->addWidget(m_paces, 1);
    predictionLayout->addLayout(vdotLine);
    predictionLayout->addWidget(m_predictionTable, 1);
    auto* targetLine = new QHBoxLayout;
    targetLine->addStretch();
    targetLine->addWidget(m_target);
    predictionLayout->addLayout(targetLine);
    return prediction;
}

void AnalysisWindow::buildLayout()
{
    QWidget* trend = trendPane();
    QWidget* prediction = predictionPane();
    m_unreadableFrame = frame(kUnreadableFrame, m_unreadableTable);
    // At 200 % a laptop's screen is lower than the tables and the chart need at their least:
    // the content scrolls rather than reaching below the screen's edge.
    auto* content = new QWidget;
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins({});
    outer->addWidget(scroll);
    auto* grid = new QGridLayout(content);
    // The fastest stretches inside races beside the finishing times, a small table that
    // fills in while the data files are read.
    auto* bests = new QVBoxLayout;
    bests->addWidget(frame(kBestFrame, m_bestTable), 3);
    bests->addWidget(frame(kEffortFrame, m_effortTable, m_effortProgress), 2);
    grid->addLayout(bests, 0, 0);
    grid->addWidget(frame(kTrendFrame, trend), 0, 1);
    grid->addWidget(frame(kYearFrame, m_yearTable), 1, 0);
    grid->addWidget(frame(kPredictionFrame, prediction), 1, 1);
    grid->addWidget(m_unreadableFrame, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 3);
    grid->setRowStretch(1, 3);
    // The unreadable rows are a short list to mend, shown only when there are any; the
    // predictions take their height first (see fitTablesToRows).
    m_unreadableTable->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    resize(fitToScreen(kStartSize, QGuiApplication::primaryScreen()));
}

void AnalysisWindow::followModel()
{
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &AnalysisWindow::refresh);
    // A sort, a move or an edit sends several signals; the window reads the book once after
    // them, at the next turn of the event loop.
    connect(&m_model, &QAbstractItemModel::modelReset, this, &AnalysisWindow::scheduleRefresh);
    connect(&m_model, &QAbstractItemModel::layoutChanged, this, &AnalysisWindow::scheduleRefresh);
    // A renumbering changes only No, which the analysis does not read, but it rewrites the
    // line's text, so its row is read again like any other changed row.
    connect(&m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                rowsChanged(topLeft.row(), bottomRight.row());
            });
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &AnalysisWindow::scheduleRefresh);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &AnalysisWindow::scheduleRefresh);
    connect(&m_model, &QAbstractItemModel::rowsMoved, this, &AnalysisWindow::scheduleRefresh);
}

void AnalysisWindow::connectControls()
{
    connect(m_bestTable, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = m_bestTable->currentRow();
        if (row >= 0 && row < static_cast<int>(m_analysis.classes.size())) {
            m_chosenRow.reset();
            chooseClass(row);
        }
    });
    connect(m_bestTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(m_analysis.classes.size()) && m_services.selectRow)
            m_services.selectRow(m_analysis.races[m_analysis.classes[row].best].row);
    });
    connect(m_trendChart, &ChartView::pointClicked, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(m_trend.races.size()))
            chooseRace(m_trend.races[index]);
    });
    m_trendChart->setToolTipText([this](int index) {
        if (index < 0 || index >= static_cast<int>(m_trend.races.size()))
            return QString();
        return trendToolTip(m_analysis, m_rows, m_trend.races[index]);
    });
    connect(m_predictionTable, &QTableWidget::currentCellChanged, this,
            &AnalysisWindow::updateTargetButton);
    connect(m_target, &QPushButton::clicked, this, &AnalysisWindow::takeSelectedGoal);
    connect(m_saveImage, &QPushButton::clicked, this, &AnalysisWindow::saveChartImage);
    connect(m_efforts, &EffortFinder::progressed, this,
            [this] { m_effortProgress->setText(effortProgressText(m_efforts->progress())); });
    connect(m_efforts, &EffortFinder::found, this, &AnalysisWindow::showEfforts);
}

void AnalysisWindow::showEvent(QShowEvent* event)
{
    if (m_stale || m_recheckFiles)
        refresh();
    QWidget::showEvent(event);
}

void AnalysisWindow::hideEvent(QHideEvent* event)
{
    m_recheckFiles = true;
    QWidget::hideEvent(event);
}

void AnalysisWindow::rowsChanged(int first, int last)
{
    if (m_changedRows) {
        first = std::min(first, m_changedRows->first);
        last = std::max(last, m_changedRows->second);
    }
    m_changedRows = {first, last};
    m_stale = true;
    if (isVisible())
        m_refreshTimer->start();
}

// A closed window reads the book only when it is shown again.
void AnalysisWindow::scheduleRefresh()
{
    m_allChanged = true;
    m_stale = true;
    if (isVisible())
        m_refreshTimer->start();
}

bool AnalysisWindow::refreshPending() const
{
    return m_stale;
}

void AnalysisWindow::refresh()
{
    m_refreshTimer->stop();
    m_stale = false;
    m_lines = m_model.lines();
    const bool everyRow =
        m_allChanged || m_parsed.size() != static_cast<std::size_t>(m_lines.size());
    const std::optional<std::pair<int, int>> changedRows = m_changedRows;
    // Lines that did not change keep their text where it was, so only changed rows need new
    // views; the old snapshot held their old texts until now.
    if (m_allChanged || m_parsed.size() != static_cast<std::size_t>(m_lines.size()))
        readRaceRows(m_lines, m_rows);
    else if (m_changedRows)
        readRaceRows(m_lines, m_changedRows->first, m_changedRows->second, m_rows);
    if (m_allChanged || m_parsed.size() != m_rows.size()) {
        m_parsed.clear();
        m_parsed.reserve(m_rows.size());
        for (const RaceRow& row : m_rows)
            m_parsed.push_back(parseRaceRow(row));
    } else if (m_changedRows) {
        const int last = std::min(m_changedRows->second, static_cast<int>(m_rows.size()) - 1);
        for (int r = std::max(m_changedRows->first, 0); r <= last; ++r)
            m_parsed[static_cast<std::size_t>(r)] =
                parseRaceRow(m_rows[static_cast<std::size_t>(r)]);
    }
    m_allChanged = false;
    m_changedRows.reset();
    analyseParsed(m_rows, m_parsed, m_analysis);

    fillTable(m_yearTable, yearTableView(m_analysis), m_shown[m_yearTable]);
    fillTable(m_unreadableTable, unreadableView(m_analysis, m_rows), m_shown[m_unreadableTable]);
    m_unreadableFrame->setVisible(!m_analysis.unreadable.empty());
    showBests();
    findEfforts(everyRow, changedRows, std::exchange(m_recheckFiles, false));
    fitTablesToRows();
}

bool AnalysisWindow::readingEfforts() const
{
    return m_efforts->reading();
}

// Every race that names a data file; what is known of it is shown at once, the rest as it
// is found. Only a window shown anew looks at every file again: an edit of the book looks at
// the races it changed, and one that changes none leaves the finder alone.
void AnalysisWindow::findEfforts(bool everyRow, std::optional<std::pair<int, int>> changedRows,
                                 bool recheck)
{
    const int rows = static_cast<int>(m_lines.size());
    m_raceOfRow.assign(static_cast<std::size_t>(rows), -1);
    for (std::size_t r = 0; r < m_analysis.races.size(); ++r)
        m_raceOfRow[static_cast<std::size_t>(m_analysis.races[r].row)] = static_cast<int>(r);
    const auto sourcesOf = [this](int first, int last) {
        std::vector<EffortSource> sources;
        for (int row = first; row <= last; ++row) {
            const int race = m_raceOfRow[static_cast<std::size_t>(row)];
            if (race < 0)
                continue;
            if (std::optional<EffortSource> source = effortSource(
                    m_lines[row].dataPath(), m_analysis.races[static_cast<std::size_t>(race)]))
                sources.push_back(std::move(*source));
        }
        return sources;
    };

    bool sourcesChanged = everyRow || recheck;
    if (everyRow) {
        m_effortSources = sourcesOf(0, rows - 1);
    } else if (changedRows) {
        const int first = std::max(changedRows->first, 0);
        const int last = std::min(changedRows->second, rows - 1);
        const auto byRow = [](const EffortSource& source, int row) { return source.row < row; };
        const auto begin =
            std::lower_bound(m_effortSources.begin(), m_effortSources.end(), first, byRow);
        const auto end = std::lower_bound(begin, m_effortSources.end(), last + 1, byRow);
        std::vector<EffortSource> fresh = sourcesOf(first, last);
        if (!std::equal(begin, end, fresh.begin(), fresh.end())) {
            sourcesChanged = true;
            const auto at = m_effortSources.erase(begin, end);
            m_effortSources.insert(at, std::make_move_iterator(fresh.begin()),
                                   std::make_move_iterator(fresh.end()));
        }
    }
    if (sourcesChanged)
        m_efforts->find(m_effortSources, recheck); // shows what it knows at once
    else
        showEfforts();
}

void AnalysisWindow::showEfforts()
{
    const std::vector<const FileEfforts*> efforts =
        m_efforts->efforts(m_raceOfRow, static_cast<int>(m_analysis.races.size()));
    fillTable(m_effortTable, effortTableView(m_analysis, m_rows, efforts), m_shown[m_effortTable]);
    m_effortProgress->setText(effortProgressText(m_efforts->progress()));
}

// On a low screen every target of the predictions stays in view: the table asks for the
// height of all its rows, and the unreadable list for no more than its rows need, up to a
// few, scrolling beyond. The bests, the seasons and the chart share what is left.
void AnalysisWindow::fitTablesToRows()
{
    m_predictionTable->setMinimumHeight(
        heightForRows(m_predictionTable, m_predictionTable->rowCount()));
    m_unreadableTable->setFixedHeight(heightForRows(
        m_unreadableTable, std::min(m_unreadableTable->rowCount(), kUnreadableRowsShown)));
}

void AnalysisWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A narrower window may need room for a horizontal scroll bar.
    fitTablesToRows();
}

void AnalysisWindow::showBests()
{
    fillTable(m_bestTable, bestTableView(m_analysis, m_rows), m_shown[m_bestTable]);

    // The class chosen before, or the class of the race predictions start from by default.
    std::optional<int> raceClass = classNamed(m_className);
    if (!raceClass) {
        m_chosenRow.reset();
        if (const std::optional<int> race = defaultPredictionRace(m_analysis))
            raceClass = m_analysis.races[*race].raceClass;
        else if (!m_analysis.classes.empty())
            raceClass = 0;
    }
    if (raceClass) {
        const QSignalBlocker quiet(m_bestTable);
        m_bestTable->selectRow(*raceClass);
    }
    chooseClass(raceClass.value_or(-1));
}

void AnalysisWindow::chooseClass(int raceClass)
{
    const bool known = raceClass >= 0 && raceClass < static_cast<int>(m_analysis.classes.size());
    m_className = known ? QString::fromStdU16String(m_analysis.classes[raceClass].name) : QString();
    m_trend = known ? trendOf(m_analysis, raceClass) : Trend{};
    m_trendChart->setData(trendChartData(m_analysis, m_trend));

    // Predictions start from the race the user picked on the chart, else from the class's
    // best when it is long enough, else from the newest best of a long enough class.
    std::optional<int> race = m_chosenRow ? raceInRow(*m_chosenRow) : std::nullopt;
    if (!race && known && m_analysis.classes[raceClass].metres >= kShortestPredictingMetres)
        race = m_analysis.classes[raceClass].best;
    if (!race)
        race = defaultPredictionRace(m_analysis);
    m_predictions = race ? predictFrom(m_analysis, *race) : Predictions{};
    showPredictions();
}

void AnalysisWindow::chooseRace(int race)
{
    m_chosenRow = m_analysis.races[race].row;
    m_predictions = predictFrom(m_analysis, race);
    showPredictions();
}

void AnalysisWindow::showPredictions()
{
    const PredictionView view = predictionView(m_analysis, m_rows, m_predictions);
    m_source->setText(view.source);
    m_vdot->setText(view.vdot);
    m_paces->setText(view.paces);
    fillTable(m_predictionTable, view.table, m_shown[m_predictionTable]);
    fitTablesToRows();
    updateTargetButton();
}

std::optional<Goal> AnalysisWindow::selectedGoal() const
{
    const int row = m_predictionTable->currentRow();
    const int column = m_predictionTable->currentColumn();
    if (row < 0 || row >= static_cast<int>(m_predictions.rows.size()) || column < 1 ||
        column > kModelColumns)
        return std::nullopt;
    const PredictionRow& prediction = m_predictions.rows[row];
    const std::optional<double> seconds = prediction.seconds[static_cast<std::size_t>(column - 1)];
    if (!seconds)
        return std::nullopt;
    return goalFor(prediction.metres, *seconds);
}

void AnalysisWindow::updateTargetButton()
{
    m_target->setEnabled(selectedGoal().has_value());
}

void AnalysisWindow::takeSelectedGoal()
{
    if (const std::optional<Goal> goal = selectedGoal(); goal && m_services.takeGoal)
        m_services.takeGoal(*goal);
}

std::optional<QByteArray> AnalysisWindow::chartPng() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) ||
        !m_trendChart->image(trendCaptions(m_className, m_trendChart->data())).save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

void AnalysisWindow::saveChartImage()
{
    SaveFolders& folders = m_services.saveFolders ? *m_services.saveFolders : m_saveFolders;
    showSaveFailure(
        m_services.dialogs, this, kImageWriteError,
        saveThroughChooser(m_services.dialogs, this, folders,
                           {kSaveImageTitle.toString(),
                            {kImageFilter.toString()},
                            kImageSuffix,
                            SaveFolders::Kind::Image,
                            folders.startFolder(SaveFolders::Kind::Image),
                            kAnalysisTitle.toString() + m_className + kImageSuffix.toString()},
                           [this] { return chartPng(); }));
}

std::optional<int> AnalysisWindow::classNamed(const QString& name) const
{
    if (name.isEmpty())
        return std::nullopt;
    for (int c = 0; c < static_cast<int>(m_analysis.classes.size()); ++c) {
        if (QString::fromStdU16String(m_analysis.classes[c].name) == name)
            return c;
    }
    return std::nullopt;
}

std::optional<int> AnalysisWindow::raceInRow(int row) const
{
    for (int r = 0; r < static_cast<int>(m_analysis.races.size()); ++r) {
        if (m_analysis.races[r].row == row)
            return r;
    }
    return std::nullopt;
}

} // namespace torvanu
