#pragma once

#include "activity/activity_choice.h"
#include "analysis/book_analysis.h"
#include "views/analysis/effort_cache.h"

#include <QString>

#include <optional>

namespace torvanu {

// A race whose data file is to be read for its efforts.
struct EffortJob
{
    EffortKey key;
    RaceFacts facts; // choose the activity of a file of several, as the race detail does
};

// The job for a race's data file as the file is now; nothing when there is no such file.
std::optional<EffortJob> effortJob(QStringView dataPath, const Race& race);

// Reads the file and finds its efforts. Touches nothing but the file, so it runs on any
// thread.
FileEfforts readFileEfforts(const EffortJob& job);

} // namespace torvanu
