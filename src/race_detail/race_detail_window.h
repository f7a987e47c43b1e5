#pragma once

#include "views/race_detail/race_detail_load.h"

#include <QWidget>

#include <memory>

class QPushButton;

namespace torvanu {

class Dialogs;
class Module1;

// One race's summary, splits, half split, fastest and slowest km, and pace per km against the
// even pace. It shows what it was given and reads nothing itself; each opening makes a window
// of its own, so that two races can be looked at side by side. The split table is saved as CSV
// through module1, the program's one way of saving; without one the window keeps its own.
class RaceDetailWindow : public QWidget
{
    Q_OBJECT

public:
    RaceDetailWindow(RaceDetailData data, Dialogs& dialogs, Module1* module1 = nullptr,
                     QWidget* parent = nullptr);
    ~RaceDetailWindow() override;

    const RaceDetailData& data() const { return m_data; }

private:
    void saveCsv();

    RaceDetailData m_data;
    Dialogs& m_dialogs;
    std::unique_ptr<Module1> m_ownModule1;
    Module1* m_module1;
};

} // namespace torvanu
