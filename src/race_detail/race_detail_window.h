#pragma once

#include "views/race_detail/race_detail_load.h"

#include <QByteArray>
#include <QWidget>

#include <memory>
#include <optional>

class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace torvanu {

class ChartView;
class Dialogs;
class Module1;
class RouteView;

// One race's summary, splits, half split, fastest and slowest km, pace per km against the even
// pace, its elevation and heart rate, and its course. It shows what it was given and reads
// nothing itself; each opening makes a window of its own, so that two races can be looked at
// side by side. The split table and the pictures are saved through module1, the program's one
// way of saving; without one the window keeps its own.
class RaceDetailWindow : public QWidget
{
    Q_OBJECT

public:
    RaceDetailWindow(RaceDetailData data, Dialogs& dialogs, Module1* module1 = nullptr,
                     QWidget* parent = nullptr);
    ~RaceDetailWindow() override;

    const RaceDetailData& data() const { return m_data; }

    // The frame that holds the race's best efforts.
    QGroupBox* bestEffortsFrame() const { return m_bestEfforts; }

    // The charts and the course as one PNG, as the picture button saves them.
    std::optional<QByteArray> picturePng() const;

private:
    // The frame of the part, or nothing: then one line in notes says why.
    QWidget* profileFrame(QVBoxLayout* notes);
    QWidget* courseFrame(QVBoxLayout* notes);
    void saveCsv();
    void savePicture();

    RaceDetailData m_data;
    Dialogs& m_dialogs;
    std::unique_ptr<Module1> m_ownModule1;
    Module1* m_module1;
    ChartView* m_paceChart = nullptr;
    ChartView* m_profileChart = nullptr; // none without elevation and heart rate
    RouteView* m_route = nullptr;        // none without positions
    QGroupBox* m_bestEfforts = nullptr;
    QPushButton* m_saveImage = nullptr;
};

} // namespace torvanu
