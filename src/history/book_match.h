#pragma once

#include "history/found_activity.h"
#include "records/race_record.h"

#include <QList>
#include <QString>
#include <QTimeZone>

#include <cstddef>
#include <optional>

namespace torvanu {

// Within this share of each other a distance and a time are the same race: a watch's
// distance and a chip time rarely agree to the metre and the second.
inline constexpr double kSameRaceTolerance = 0.01;

// What the import window makes of one activity found.
struct FoundRow
{
    enum class State
    {
        New,
        Recorded, // the book has it already
        Unreadable,
    };

    FoundActivity activity;
    State state = State::New;
    std::optional<std::size_t> official; // index into kOfficialDistances
    bool candidate = false;              // a race by its sport and distance, or the export's word
    bool preselected = false;            // a candidate the book does not have yet
};

// The path a copy of file gets in the data folder's activities/ (also for a file of an
// archive): what an earlier import wrote into the book's data column.
QString copyFolderOf(const QString& dataFolder);

// Compares every activity with the book: a race of the same local date whose distance and
// time are each within kSameRaceTolerance, or whose data file is the file itself or its copy
// in the data folder, is there already.
QList<FoundRow> matchWithBook(const HistoryScan& scan, const QList<RaceRecord>& book,
                              const QString& dataFolder, const QTimeZone& zone);

} // namespace torvanu
