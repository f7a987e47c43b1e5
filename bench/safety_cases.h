#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// What keeping the book safe costs: the journal's flush of one change, the single-window
// check at start, and a book with one huge remark loaded and shown in the detail window.
void registerSafetyCases(BenchContext& context);

} // namespace torvanu::bench
