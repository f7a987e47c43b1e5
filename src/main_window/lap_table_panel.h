#pragma once

#include "calc/lap_table.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace torvanu {

// The full-marathon lap table on the right of the calculator: split times at every
// kilometre, at the half and the full distance, the pace line and the speed line.
class LapTablePanel : public QWidget
{
    Q_OBJECT

public:
    explicit LapTablePanel(QWidget* parent);

    // Writes one fill of the table, in the order the cells are laid out.
    void showTable(const LapTable& table);

    QString split(int kilometre) const;
    QString half() const;
    QString full() const;
    QString paceText() const;
    QString speedText() const;

    QPushButton* csvButton() const { return m_csvButton; }

private:
    std::array<QLabel*, kLapRows> m_splits{};
    QLabel* m_half = nullptr;
    QLabel* m_full = nullptr;
    QLabel* m_pace = nullptr;
    QLabel* m_speed = nullptr;
    QPushButton* m_csvButton = nullptr;
};

} // namespace torvanu
