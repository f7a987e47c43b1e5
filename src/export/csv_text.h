#pragma once

#include "calc/lap_table.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace torvanu {

// Which calculator panel is showing when the export starts.
enum class CsvPanel
{
    GoalTime,
    Pace,
    None
};

// The texts the main window's controls show, exactly as shown. Nothing is recalculated for
// the export: after a refused input the echoes carry the new picker texts while the results
// still carry the last good calculation, and the file says so.
struct CsvScreen
{
    CsvPanel panel = CsvPanel::None;

    // Goal-time tab.
    QString goalDistance;    // Combo1
    QString goalUnit;        // Command1
    QString paceMinutes;     // Combo2(0)
    QString paceSeconds;     // Combo2(1)
    QString goalTimeDisplay; // GoalTimeLabel(1)

    // Pace tab.
    QString paceDistance; // Combo3
    QString paceUnit;     // Command2
    QString goalHours;    // Combo4(0)
    QString goalMinutes;  // Combo4(1)
    QString goalSeconds;  // Combo4(2)
    QString paceDisplay;  // GoalTimeLabel(2)

    // Lap table.
    QString speed;                        // hLabel
    std::array<QString, kLapRows> splits; // SpeedList(1) ... SpeedList(42)
    QString halfTime;
    QString fullTime;
};

// The whole export text, every line ended by CR LF, the last one included (SaveAsCSV adds one
// more, so the file ends with an empty line). Nothing when the pace tab's hours do not read as a
// number.
std::optional<QString> csvText(const CsvScreen& screen);

// A picker text as the echo lines show it: every blank removed (U+3000 too), then an empty text
// gives "0" and a single character gets a leading "0". Longer texts (pace minutes up to 1000,
// seconds with a fraction such as 20.5) stay as they are: cutting them to two characters
// would change the value the picker shows.
QString twoDigitForm(QStringView pickerText);

} // namespace torvanu
