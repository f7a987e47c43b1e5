#pragma once

#include "records/log_line.h"

#include <QList>

namespace torvanu {

// The list merged with a book another program changed while the list was open, against the
// book as it was read. The list always wins: its rows stay, in its order, as the user left
// them.
struct BookMerge
{
    QList<LogLine> lines; // numbered 1..n
    int gained = 0;       // rows the file gained since it was read: added after the list's rows
    int lost = 0;         // rows the file lost that the list still holds unchanged
};

// Rows are told apart by their text after field 0 (No is only a position), as a multiset: of
// two identical rows the file gained one if it holds one more than it was read with. With
// dropLost the lost rows are left out; otherwise nothing of the list is dropped.
BookMerge mergeBooks(const QList<LogLine>& base, const QList<LogLine>& theirs,
                     const QList<LogLine>& mine, bool dropLost);

// Whether two lists hold the same rows in the same order, numbers aside.
bool sameRows(const QList<LogLine>& a, const QList<LogLine>& b);

} // namespace torvanu
