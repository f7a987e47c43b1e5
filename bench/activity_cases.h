#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// Reading a watch's file: a 4-hour FIT and the same run as GPX, each beside the reading of
// its bytes; and the race detail window opened on the FIT, beside its reading alone.
void registerActivityCases(BenchContext& context);

} // namespace torvanu::bench
