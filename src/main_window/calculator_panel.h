#pragma once

#include "calc/pace.h"
#include "calc/units.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QComboBox;
class QEvent;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace torvanu {

class Dialogs;
class LapTablePanel;

// The calculator on the upper left of the main window: the tab strip with its two panels,
// their pickers, unit buttons and result boxes, and the recalculation that follows every
// change of them.
class CalculatorPanel : public QObject
{
    Q_OBJECT

public:
    CalculatorPanel(QWidget* client, Dialogs& dialogs, LapTablePanel& lapTable);

    QTabWidget* tabStrip() const { return m_tabStrip; }

    // Shows the goal-time panel and hides the pace panel, without recalculating.
    void showGoalTimePanel();
    // The mode whose panel is shown, if any.
    std::optional<Mode> visibleMode() const;

    // Validates the tab's pickers, shows the result and refills the lap table; shows the
    // validation's message instead when the inputs are refused.
    void UpdateResults(Mode mode);
    void FullMarathonMatrix(Mode mode);

    // Fills the pace tab with a goal and shows it. The pickers are set quietly and the tab is
    // calculated once, as if the user had typed the whole goal at once.
    void takeGoal(const QString& distanceKm, int hours, int minutes, int seconds);

    // What the controls show, for the export.
    QString pickerText(Mode mode, int index) const;
    QString unitText(Mode mode) const;
    QString resultText(Mode mode) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tab
    {
        QWidget* panel = nullptr;
        std::array<QComboBox*, 4> pickers{};
        int pickerCount = 0;
        QPushButton* unitButton = nullptr;
        QLineEdit* result = nullptr;
        Unit unit = Unit::Km;
        // Set while a picker's list is open and its text has not changed since: a pick
        // that leaves the text as it was must still recalculate.
        QComboBox* pickingUnchanged = nullptr;
    };

    void buildGoalTimePanel(QWidget* client);
    void buildPacePanel(QWidget* client);
    void connectTab(Mode mode);
    void TabStrip1_Click();
    void advanceUnit(Mode mode);
    void pickerActivated(Mode mode, QComboBox* picker);
    CalcInputs inputs(Mode mode, std::array<QString, 5>& storage) const;

    Tab& tab(Mode mode) { return m_tabs[mode == Mode::GoalTime ? 0 : 1]; }
    const Tab& tab(Mode mode) const { return m_tabs[mode == Mode::GoalTime ? 0 : 1]; }

    Dialogs& m_dialogs;
    LapTablePanel& m_lapTable;
    QTabWidget* m_tabStrip = nullptr;
    std::array<Tab, 2> m_tabs;
};

} // namespace torvanu
