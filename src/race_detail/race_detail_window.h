#pragma once

#include "shell/save_folders.h"
#include "views/race_detail/race_detail_load.h"

#include <QByteArray>
#include <QWidget>

#include <optional>

class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace torvanu {

class ChartView;
class Dialogs;
class RouteView;

// One race's splits, half split, fastest and slowest km, pace per km against the even pace,
// its elevation and heart rate, and its course. It shows what it was given and reads nothing
// itself; each opening makes a window of its own, so that two races can be looked at side by
// side.
class RaceDetailWindow : public QWidget
{
    Q_OBJECT

public:
    struct Services
    {
        Dialogs& dialogs;
        SaveFolders* saveFolders = nullptr; // the program's; else the window's own
    };

    RaceDetailWindow(RaceDetailData data, Services services, QWidget* parent = nullptr);

    const RaceDetailData& data() const { return m_data; }

    // The frame that holds the race's best efforts.
    QGroupBox* bestEffortsFrame() const { return m_bestEfforts; }

    // The charts and the course as one PNG, as the picture button saves them.
    std::optional<QByteArray> picturePng() const;

private:
    // The frame of the part, or nothing: then one line in notes says why.
    QWidget* profileFrame(QVBoxLayout* notes);
    QWidget* courseFrame(QVBoxLayout* notes);
    void savePicture();

    RaceDetailData m_data;
    Services m_services;
    SaveFolders m_saveFolders; // where pictures go when the program shares no folders
    ChartView* m_paceChart = nullptr;
    ChartView* m_profileChart = nullptr; // none without elevation and heart rate
    RouteView* m_route = nullptr;        // none without positions
    QGroupBox* m_bestEfforts = nullptr;
    QPushButton* m_saveImage = nullptr;
};

} // namespace torvanu
