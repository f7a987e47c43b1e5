#include "history_import/history_import_window.h"

#include "history/book_match.h"
#include "history/history_copy.h"
#include "history/history_scan.h"
#include "shell/dialogs.h"
#include "shell/escape_closes.h"
#include "views/import/history_records.h"
#include "views/import/history_table.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kTitle = u"記録の一括読込";
constexpr QStringView kSourceLabel = u"読込元(&S):";
constexpr QStringView kBrowseCaption = u"参照...";
constexpr QStringView kBrowseFolder = u"フォルダ(&F)...";
constexpr QStringView kBrowseArchive = u"アーカイブまたはデータファイル(&A)...";
constexpr QStringView kScanCaption = u"読み込む";
constexpr QStringView kCancelCaption = u"中止";
constexpr QStringView kRacesOnlyCaption = u"レースの候補だけ表示";
constexpr QStringView kSelectAllCaption = u"表示中をすべて選ぶ";
constexpr QStringView kSelectNoneCaption = u"表示中の選択をすべて外す";
constexpr QStringView kAddCaption = u"選んだ記録を追加";
constexpr QStringView kArchiveFilter =
    u"アーカイブ・データファイル (*.zip *.fit *.gpx *.tcx *.gz);;すべてのファイル (*)";

// Often enough that the bar moves smoothly, rarely enough to cost nothing.
constexpr int kProgressIntervalMs = 50;
constexpr int kTableWidth = 900;
constexpr int kTableHeight = 420;

QTimeZone localZone()
{
    return QTimeZone::systemTimeZone();
}

// Shows the race candidates only, and every line that says what could not be read.
class ShownRows : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setRacesOnly(bool racesOnly)
    {
        m_racesOnly = racesOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        if (!m_racesOnly)
            return true;
        const auto* table = static_cast<const HistoryTable*>(sourceModel());
        const FoundRow& found = table->rows().at(row);
        return found.candidate || found.state == FoundRow::State::Unreadable;
    }

private:
    bool m_racesOnly = true;
};

QPushButton* makeButton(const QString& name, QStringView caption, QWidget* parent)
{
    auto* button = new QPushButton(caption.toString(), parent);
    button->setObjectName(name);
    return button;
}

} // namespace

HistoryImportWindow::HistoryImportWindow(HistoryImportServices services, QWidget* owner)
    : QWidget(owner, Qt::Window), m_services(std::move(services))
{
    setObjectName(u"HistoryImport"_s);
    setWindowTitle(kTitle.toString());
    buildControls();
    closeOnEscape(this);
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &HistoryImportWindow::showProgress);
    connect(&m_watcher, &QFutureWatcher<HistoryScan>::finished, this,
            &HistoryImportWindow::finishScan);
}

HistoryImportWindow::~HistoryImportWindow()
{
    // The scan's threads write into the control block and read nothing of the window.
    if (m_control)
        m_control->cancel.store(true);
    m_watcher.waitForFinished();
}

void HistoryImportWindow::buildControls()
{
    m_sourcePath = new QLineEdit(this);
    m_sourcePath->setObjectName(u"SourcePath"_s);
    auto* sourceLabel = new QLabel(kSourceLabel.toString(), this);
    sourceLabel->setBuddy(m_sourcePath);
    m_browseButton = makeButton(u"BrowseButton"_s, kBrowseCaption, this);
    auto* browseMenu = new QMenu(m_browseButton);
    connect(browseMenu->addAction(kBrowseFolder.toString()), &QAction::triggered, this,
            [this] { browse(true); });
    connect(browseMenu->addAction(kBrowseArchive.toString()), &QAction::triggered, this,
            [this] { browse(false); });
    m_browseButton->setMenu(browseMenu);
    m_scanButton = makeButton(u"ScanButton"_s, kScanCaption, this);
    m_scanButton->setDefault(true);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"ScanProgress"_s);
    m_progress->setFormat(u"%v / %m"_s);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_cancelButton = makeButton(u"CancelButton"_s, kCancelCaption, this);
    m_cancelButton->setEnabled(false);

    m_racesOnly = new QCheckBox(kRacesOnlyCaption.toString(), this);
    m_racesOnly->setObjectName(u"RacesOnly"_s);
    m_racesOnly->setChecked(true);
    m_selectAll = makeButton(u"SelectAll"_s, kSelectAllCaption, this);
    m_selectNone = makeButton(u"SelectNone"_s, kSelectNoneCaption, this);

    m_table = new HistoryTable(this);
    auto* shown = new ShownRows(this);
    m_shown = shown;
    m_shown->setSourceModel(m_table);
    m_shown->setSortRole(HistoryTable::kSortRole);
    m_view = new QTableView(this);
    m_view->setObjectName(u"FoundTable"_s);
    m_view->setModel(m_shown);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(HistoryTable::Date, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the table for the buttons; the arrows move through the rows, Space ticks.
    m_view->setTabKeyNavigation(false);
    m_view->verticalHeader()->hide();
    m_view->setWordWrap(false);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->setMinimumSize(kTableWidth, kTableHeight);

    m_status = new QLabel(this);
    m_status->setObjectName(u"StatusText"_s);
    m_status->setWordWrap(true);
    m_addButton = makeButton(u"AddButton"_s, kAddCaption, this);

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(sourceLabel);
    sourceRow->addWidget(m_sourcePath, 1);
    sourceRow->addWidget(m_browseButton);
    sourceRow->addWidget(m_scanButton);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancelButton);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(m_racesOnly);
    filterRow->addStretch(1);
    filterRow->addWidget(m_selectAll);
    filterRow->addWidget(m_selectNone);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(m_status, 1);
    addRow->addWidget(m_addButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(progressRow);
    layout->addLayout(filterRow);
    layout->addWidget(m_view, 1);
    layout->addLayout(addRow);

    connect(m_scanButton, &QPushButton::clicked, this, &HistoryImportWindow::startScan);
    connect(m_sourcePath, &QLineEdit::returnPressed, this, &HistoryImportWindow::startScan);
    connect(m_cancelButton, &QPushButton::clicked, this, &HistoryImportWindow::cancelScan);
    connect(m_racesOnly, &QCheckBox::toggled, this,
            [shown](bool racesOnly) { shown->setRacesOnly(racesOnly); });
    connect(m_selectAll, &QPushButton::clicked, this, [this] { tickShown(true); });
    connect(m_selectNone, &QPushButton::clicked, this, [this] { tickShown(false); });
    connect(m_addButton, &QPushButton::clicked, this, &HistoryImportWindow::addTicked);
}

void HistoryImportWindow::browse(bool folder)
{
    Dialogs::FileRequest request;
    request.title = kTitle.toString();
    request.folder = m_sourcePath->text();
    if (!folder)
        request.filters = kArchiveFilter.toString().split(u";;"_s);
    const QString chosen = folder ? m_services.dialogs.folderName(this, request)
                                  : m_services.dialogs.openFileName(this, request);
    if (!chosen.isEmpty())
        m_sourcePath->setText(QDir::toNativeSeparators(chosen));
}

void HistoryImportWindow::setScanning(bool scanning)
{
    m_scanButton->setEnabled(!scanning);
    m_browseButton->setEnabled(!scanning);
    m_sourcePath->setReadOnly(scanning);
    m_addButton->setEnabled(!scanning);
    m_cancelButton->setEnabled(scanning);
    if (scanning) {
        m_progressTimer.start();
        m_cancelButton->setFocus();
    } else {
        m_progressTimer.stop();
    }
}

void HistoryImportWindow::startScan()
{
    if (scanning())
        return;
    const QString source = QDir::fromNativeSeparators(m_sourcePath->text().trimmed());
    if (source.isEmpty())
        return;
    m_control = std::make_shared<ScanControl>();
    m_table->setRows({}, localZone());
    m_status->setText(u"読み込んでいます..."_s);
    m_progress->setRange(0, 0);
    setScanning(true);
    m_watcher.setFuture(
        QtConcurrent::run([control = m_control, source] { return scanHistory(source, *control); }));
}

void HistoryImportWindow::showProgress()
{
    if (!m_control)
        return;
    const qsizetype found = m_control->filesFound.load();
    if (found == 0)
        return;
    m_progress->setRange(0, static_cast<int>(found));
    m_progress->setValue(static_cast<int>(m_control->filesRead.load()));
}

void HistoryImportWindow::cancelScan()
{
    if (m_control)
        m_control->cancel.store(true);
}

void HistoryImportWindow::finishScan()
{
    showProgress();
    m_scan = m_watcher.result();
    setScanning(false);
    rematch();
    m_scan.found.clear();
    if (m_progress->maximum() == 0)
        m_progress->setRange(0, 1);

    QStringList status;
    if (!m_scan.problem.isEmpty())
        status.append(m_scan.problem);
    if (m_scan.cancelled)
        status.append(u"中止しました。読めた分だけを表示します。"_s);
    qsizetype ticked = 0;
    for (int row = 0; row < m_table->rowCount(); ++row)
        ticked += m_table->isTicked(row) ? 1 : 0;
    status.append(
        u"%1件の記録が見つかりました（選択 %2件）。"_s.arg(m_table->rowCount()).arg(ticked));
    m_status->setText(status.join(u' '));
    m_view->setFocus();
    emit scanFinished();
}

void HistoryImportWindow::rematch()
{
    // The scan's own list when it has just finished, else the table's, against the book now.
    HistoryScan scan = m_scan;
    if (scan.found.isEmpty()) {
        for (const FoundRow& row : m_table->rows())
            scan.found.append(row.activity);
    }
    m_table->setRows(
        matchWithBook(scan, m_services.bookRecords(), m_services.dataFolder(), localZone()),
        localZone(), m_scan.kind == SourceKind::Folder ? m_scan.source : QString());
    m_view->resizeColumnsToContents();
}

void HistoryImportWindow::tickShown(bool ticked)
{
    for (int row = 0; row < m_shown->rowCount(); ++row)
        m_table->setTicked(m_shown->mapToSource(m_shown->index(row, 0)).row(), ticked);
}

void HistoryImportWindow::addTicked()
{
    const QList<FoundActivity> ticked = m_table->tickedActivities();
    if (ticked.isEmpty()) {
        m_services.dialogs.message(this, u"追加する記録の取込にチェックを入れてください。"_s,
                                   Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        return;
    }
    QStringList files;
    QSet<QString> seen;
    for (const FoundActivity& activity : ticked) {
        if (!seen.contains(activity.file)) {
            seen.insert(activity.file);
            files.append(activity.file);
        }
    }
    const HistoryCopies copies =
        copyIntoDataFolder(m_scan.kind, m_scan.source, files, m_services.dataFolder());
    const QList<RaceRecord> records = historyRecords(ticked, copies.paths, localZone());
    if (!records.isEmpty())
        m_services.addRecords(records);
    rematch();
    QString status = u"%1件の記録を追加しました。"_s.arg(records.size());
    if (!copies.problems.isEmpty()) {
        status +=
            u" %1個のファイルを記録フォルダにコピーできなかったため、その記録は追加していません（%2）。"_s
                .arg(copies.problems.size())
                .arg(copies.problems.cbegin().value());
        m_services.dialogs.message(this, status, Dialogs::Icon::Stop, Dialogs::Buttons::Ok);
    }
    m_status->setText(status);
}

void HistoryImportWindow::closeEvent(QCloseEvent* event)
{
    cancelScan();
    QWidget::closeEvent(event);
}

} // namespace torvanu
