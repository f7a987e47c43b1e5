#pragma once

#include "records/race_record.h"

#include <QList>
#include <QtGlobal>

namespace torvanu {

class RecordModel;

// One change of the record list, as a value: the list's buttons make one, apply it and hand
// it to the journal, and a restore after a crash applies the journal's the same way, so the
// two can never drift apart.
struct RecordChange
{
    enum class Kind : quint8
    {
        Add = 1, // record appended at the end
        Change,  // record replaces row's contents
        Remove,  // row deleted
        Swap,    // row and otherRow exchange their contents (↑ and ↓)
        Sort,    // the rows put in the order of permutation
    };

    Kind kind = Kind::Add;
    int row = 0; // 0-based
    int otherRow = 0;
    RaceRecord record;
    // Sort: the column and order clicked, and the old row of every new row, so that a restore
    // gives the very order of that moment whatever the collation of the next start.
    int column = 0;
    bool descending = false;
    QList<qint32> permutation;

    static RecordChange added(const RaceRecord& record);
    static RecordChange changed(int row, const RaceRecord& record);
    static RecordChange removed(int row);
    static RecordChange swapped(int row, int otherRow);
    static RecordChange sorted(int column, bool descending, QList<qint32> permutation);

    friend bool operator==(const RecordChange&, const RecordChange&) = default;
};

// Applies change to the list and numbers the rows as the buttons do. False, with the list
// untouched, when the change does not fit it (a row beyond the list, a sort of another size).
bool applyRecordChange(RecordModel& model, const RecordChange& change);

} // namespace torvanu
