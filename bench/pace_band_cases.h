#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// A 100 km plan every 1 km and its PDF in both layouts, beside an empty PDF page.
void registerPaceBandCases(const BenchContext& context);

} // namespace torvanu::bench
