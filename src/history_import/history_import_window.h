#pragma once

#include "history/found_activity.h"
#include "records/race_record.h"

#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace torvanu {

class Dialogs;
class HistoryTable;
struct ScanControl;

struct HistoryImportServices
{
    Dialogs& dialogs;
    std::function<QList<RaceRecord>()> bookRecords;
    std::function<QString()> dataFolder; // where the book is written
    // Appends the rows as the record editor's new rows are appended.
    std::function<void(const QList<RaceRecord>&)> addRecords;
};

// Reads a whole history (a watch's folder, a service's export archive, or one data file)
// and offers the races in it for the book. Not modal: the scan runs on other threads, and
// the main window stays usable.
class HistoryImportWindow : public QWidget
{
    Q_OBJECT

public:
    HistoryImportWindow(HistoryImportServices services, QWidget* owner);
    ~HistoryImportWindow() override;

    // Starts reading the source in the path field; the table fills when it is done.
    void startScan();
    bool scanning() const { return m_watcher.isRunning(); }
    HistoryTable& table() const { return *m_table; }

signals:
    void scanFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void browse(bool folder);
    void showProgress();
    void finishScan();
    void cancelScan();
    void tickShown(bool ticked);
    void addTicked();
    void rematch();
    void setScanning(bool scanning);

    HistoryImportServices m_services;
    QLineEdit* m_sourcePath = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_scanButton = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QCheckBox* m_racesOnly = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_selectNone = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_addButton = nullptr;
    HistoryTable* m_table = nullptr;
    QSortFilterProxyModel* m_shown = nullptr;
    QTimer m_progressTimer;
    QFutureWatcher<HistoryScan> m_watcher;
    std::shared_ptr<ScanControl> m_control;
    HistoryScan m_scan; // the last scan, without its rows (the table holds them)
};

} // namespace torvanu
