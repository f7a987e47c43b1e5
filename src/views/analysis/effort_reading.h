#pragma once

#include "activity/activity_choice.h"
#include "analysis/book_analysis.h"
#include "views/analysis/effort_cache.h"

#include <QHash>
#include <QString>

#include <optional>

namespace torvanu {

// A race that names a data file, as the book says it.
struct EffortSource
{
    int row = 0;     // in the book
    QString path;    // as the record names it
    RaceFacts facts; // the record's date, distance and time choose among a file's activities
    // The path and the facts: two sources with the same id find the same efforts in one file.
    QString id;

    // The id holds the path and the facts.
    friend bool operator==(const EffortSource& a, const EffortSource& b)
    {
        return a.row == b.row && a.id == b.id;
    }
};

// Nothing for a race without a data file.
std::optional<EffortSource> effortSource(QStringView dataPath, const Race& race);

struct EffortLookup
{
    std::optional<EffortKey> key; // nothing when the file is not there
    FileEfforts efforts;
    bool fromCache = false;
};

// The file as it is now: the efforts cached for it when it did not change, else read from it.
// Touches nothing but the file and the cached entries it is given, so it runs on any thread.
EffortLookup lookUpEfforts(const EffortSource& source, const QHash<EffortKey, FileEfforts>& cached);

} // namespace torvanu
