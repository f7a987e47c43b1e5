#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// "history import": a generated history of 1,000 activity files scanned to the filled table,
// as a folder and as a zip archive, on every core and on one (each in a child process, for
// its peak memory); and 500 ticked rows added to a book, copies included.
void registerHistoryCases(BenchContext& context);

} // namespace torvanu::bench
