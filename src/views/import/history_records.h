#pragma once

#include "history/book_match.h"
#include "records/race_record.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTimeZone>

#include <optional>

namespace torvanu {

// The record the editor would write for an activity read from its data file: the date, the
// name with its commas made full-width, the distance in km with three decimals at most, the
// time and empty remarks. Nothing when the editor could not hold it (no date, a year outside
// its picker, an untimed route, more than its hours picker reaches).
std::optional<RaceRecord> historyRecord(const FoundActivity& activity, const QString& dataPath,
                                        const QTimeZone& zone);

// The rows to append for the activities ticked, in date order (an earlier start first), each
// pointing at its file's copy; rows whose file has no copy are left out.
QList<RaceRecord> historyRecords(const QList<FoundActivity>& ticked,
                                 const QHash<QString, QString>& copies, const QTimeZone& zone);

} // namespace torvanu
