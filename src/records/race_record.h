#pragma once

#include <QString>

namespace torvanu {

// One row of the record list and one line of log.dat. Every field is text, kept exactly.
struct RaceRecord
{
    QString no;       // the row's 1-based position, renumbered after every change of order
    QString raceDate; // 2006年11月19日
    QString raceName;
    QString distance; // 42.195km
    QString raceTime; // " 3時間45分10秒", "  45分 9秒"
    QString remarks;
    QString dataPath; // hidden; may contain ","

    // The "ﾃﾞｰﾀ" cell is derived, never stored.
    bool hasData() const { return !dataPath.isEmpty(); }

    friend bool operator==(const RaceRecord&, const RaceRecord&) = default;
};

} // namespace torvanu
