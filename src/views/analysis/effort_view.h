#pragma once

#include "analysis/book_analysis.h"
#include "views/analysis/analysis_view.h"
#include "views/analysis/effort_cache.h"

#include <QString>

#include <span>

namespace torvanu {

// 種目, 区間ベスト, 1kmペース, 日付, 大会名, 開始: for every effort distance that is a race
// class, the fastest stretch inside any race whose data file was read. efforts has one entry
// per race of the analysis, null where there is none (yet).
TableView effortTableView(const BookAnalysis& analysis, std::span<const RaceRow> rows,
                          std::span<const FileEfforts* const> efforts);

struct EffortProgress
{
    int files = 0;      // races with a data file named
    int done = 0;       // of them, known: read now or before
    int unreadable = 0; // of the known, missing or not readable
    bool reading = false;
};

// The line under the table: how far the reading is, and how many files were skipped.
QString effortProgressText(const EffortProgress& progress);

} // namespace torvanu
