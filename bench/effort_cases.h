#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// Best efforts: all seven distances over a 4-hour track, beside one pass over its points;
// and the record analysis of 500 races with 1-hour FIT files, opened with an empty cache
// until 区間ベスト is filled, and again with the cache, beside the same book without files.
void registerEffortCases(BenchContext& context);

} // namespace torvanu::bench
