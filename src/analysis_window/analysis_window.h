#pragma once

#include "analysis/book_analysis.h"
#include "analysis/predictions.h"
#include "views/analysis/analysis_view.h"
#include "views/analysis/effort_reading.h"
#include "records/log_line.h"
#include "shell/save_folders.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace torvanu {

class ChartView;
class Dialogs;
class EffortFinder;
class RecordModel;

// The record analysis: bests per class, season bests, the trend of one class and the
// predictions from one race. It follows every change of the record list while it is open.
class AnalysisWindow : public QWidget
{
    Q_OBJECT

public:
    struct Services
    {
        Dialogs& dialogs;
        std::function<void(int row)> selectRow;         // in the main list, 0-based
        std::function<void(const Goal& goal)> takeGoal; // into the calculator's pace tab
        SaveFolders* saveFolders = nullptr;             // the program's; else the window's own
        QString effortCache{}; // the file of efforts read before; empty: the user's cache folder
    };

    AnalysisWindow(const RecordModel& model, Services services, QWidget* parent = nullptr);

    // Reads the book again now, instead of at the next turn of the event loop.
    void refresh();
    bool refreshPending() const;

    const BookAnalysis& analysis() const { return m_analysis; }
    // True while data files are being read for their efforts.
    bool readingEfforts() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void buildLayout();
    QWidget* trendPane();
    QWidget* predictionPane();
    void followModel();
    void connectControls();
    void scheduleRefresh();
    void rowsChanged(int first, int last);
    void showBests();
    void chooseClass(int raceClass);
    void chooseRace(int race);
    void showPredictions();
    void findEfforts(bool everyRow, std::optional<std::pair<int, int>> changedRows, bool recheck);
    void showEfforts();
    void fitTablesToRows();
    void updateTargetButton();
    std::optional<Goal> selectedGoal() const;
    void takeSelectedGoal();
    void saveChartImage();
    std::optional<QByteArray> chartPng() const;
    std::optional<int> classNamed(const QString& name) const;
    std::optional<int> raceInRow(int row) const;

    const RecordModel& m_model;
    Services m_services;
    QTimer* m_refreshTimer = nullptr;
    bool m_stale = false; // the book changed since it was last read
    // Rows whose cells changed since; without them, every row is read again.
    std::optional<std::pair<int, int>> m_changedRows;
    bool m_allChanged = true;
    bool m_recheckFiles = true; // the data files may have changed while the window was closed

    QTableWidget* m_bestTable = nullptr;
    QTableWidget* m_yearTable = nullptr;
    ChartView* m_trendChart = nullptr;
    QPushButton* m_saveImage = nullptr;
    QLabel* m_source = nullptr;
    QLabel* m_vdot = nullptr;
    QLabel* m_paces = nullptr;
    QTableWidget* m_predictionTable = nullptr;
    QPushButton* m_target = nullptr;
    QTableWidget* m_effortTable = nullptr;
    QLabel* m_effortProgress = nullptr;
    EffortFinder* m_efforts = nullptr;
    std::vector<EffortSource> m_effortSources; // by row
    std::vector<int> m_raceOfRow;              // index into m_analysis.races, or -1
    QGroupBox* m_unreadableFrame = nullptr;
    QTableWidget* m_unreadableTable = nullptr;

    // The book as last read: the rows point into the lines, which are shared, not copied.
    QList<LogLine> m_lines;
    std::vector<RaceRow> m_rows;
    std::vector<ParsedRow> m_parsed;
    BookAnalysis m_analysis;
    Trend m_trend;
    Predictions m_predictions;

    std::map<QTableWidget*, TableView> m_shown;
    SaveFolders m_saveFolders; // where pictures go when the program shares no folders

    // What the user chose, kept by name and list row so that it survives a change of the book.
    QString m_className;
    std::optional<int> m_chosenRow;
};

} // namespace torvanu
