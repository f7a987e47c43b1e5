#pragma once

#include "band_painter.h"
#include "views/pace_band/band_sheet.h"
#include "calc/pace.h"

#include <QDialog>
#include <QString>

#include <array>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace torvanu {

class Dialogs;
class Module1;

// The calculator's active tab as the pace band starts from it: the picker texts in the order
// the validation reads them (distance first) and the unit caption.
struct PaceBandSource
{
    Mode mode = Mode::GoalTime;
    std::array<QString, 4> pickers; // mode 1: distance, pace minutes, pace seconds
    QString unit;                   // mode 2: distance, goal hours, minutes, seconds
};

// A split plan for race day from the calculator's distance and time, shown as a table and
// printed, saved as PDF or saved as CSV.
class PaceBandDialog : public QDialog
{
    Q_OBJECT

public:
    PaceBandDialog(Dialogs& dialogs, Module1& module1, const PaceBandSource& source,
                   QWidget* parent);

    // The sheet as it stands; its rows are empty while nothing can be printed.
    const BandSheet& sheet() const { return m_sheet; }

    void savePdf();
    void saveCsv();
    void printWithPreview();

private:
    void buildControls();
    void buildLayout();
    QLayout* optionsLayout();
    QLayout* outputsLayout();
    void connectControls();
    void readSource(const PaceBandSource& source);
    void updatePlan();
    void showSource();
    void showRows();
    void setPrintable(bool printable);
    BandLayout layout() const;

    Dialogs& m_dialogs;
    Module1& m_module1;
    std::optional<PlanRequest> m_request; // nothing when the calculator refused its inputs
    QString m_refusal;
    QString m_sourceDistance; // as the calculator gave it: «42.195 km»
    Unit m_sourceUnit = Unit::Km;
    BandSheet m_sheet;

    QLabel* m_sourceLabel = nullptr;
    QLabel* m_message = nullptr;
    QComboBox* m_every = nullptr;
    QComboBox* m_strategy = nullptr;
    QLineEdit* m_percent = nullptr;
    QLabel* m_percentMessage = nullptr;
    QLabel* m_percentHint = nullptr;
    QTableWidget* m_table = nullptr;
    QComboBox* m_layout = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_pdf = nullptr;
    QPushButton* m_csv = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace torvanu
