#include "records/record_change.h"

#include "records/record_model.h"

#include <vector>

namespace torvanu {

namespace {

bool isRow(const RecordModel& model, int row)
{
    return row >= 0 && row < model.rowCount();
}

bool isPermutation(const QList<qint32>& permutation, int rowCount)
{
    if (permutation.size() != rowCount)
        return false;
    std::vector<bool> seen(static_cast<std::size_t>(rowCount), false);
    for (const qint32 row : permutation) {
        if (row < 0 || row >= rowCount || seen[static_cast<std::size_t>(row)])
            return false;
        seen[static_cast<std::size_t>(row)] = true;
    }
    return true;
}

} // namespace

RecordChange RecordChange::added(const RaceRecord& record)
{
    RecordChange change;
    change.kind = Kind::Add;
    change.record = record;
    return change;
}

RecordChange RecordChange::changed(int row, const RaceRecord& record)
{
    RecordChange change;
    change.kind = Kind::Change;
    change.row = row;
    change.record = record;
    return change;
}

RecordChange RecordChange::removed(int row)
{
    RecordChange change;
    change.kind = Kind::Remove;
    change.row = row;
    return change;
}

RecordChange RecordChange::swapped(int row, int otherRow)
{
    RecordChange change;
    change.kind = Kind::Swap;
    change.row = row;
    change.otherRow = otherRow;
    return change;
}

RecordChange RecordChange::sorted(int column, bool descending, QList<qint32> permutation)
{
    RecordChange change;
    change.kind = Kind::Sort;
    change.column = column;
    change.descending = descending;
    change.permutation = std::move(permutation);
    return change;
}

bool applyRecordChange(RecordModel& model, const RecordChange& change)
{
    switch (change.kind) {
    case RecordChange::Kind::Add:
        model.appendRecord(change.record);
        break;
    case RecordChange::Kind::Change:
        if (!isRow(model, change.row))
            return false;
        model.setRecord(change.row, change.record);
        break;
    case RecordChange::Kind::Remove:
        if (!isRow(model, change.row))
            return false;
        model.removeRecord(change.row);
        break;
    case RecordChange::Kind::Swap:
        if (!isRow(model, change.row) || !isRow(model, change.otherRow))
            return false;
        // No stays with the position, so the numbers need nothing.
        model.swapContents(change.row, change.otherRow);
        return true;
    case RecordChange::Kind::Sort:
        if (change.column < 0 || change.column >= RecordColumnCount ||
            !isPermutation(change.permutation, model.rowCount()))
            return false;
        model.reorder(change.permutation);
        break;
    default:
        return false;
    }
    model.renumber();
    return true;
}

} // namespace torvanu
