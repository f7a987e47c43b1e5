#pragma once

#include "bench_cases.h"

namespace torvanu::bench {

// "hostile files": every crafted shape read by a child process, its time and its peak memory.
void registerHostileCases(BenchContext& context);

} // namespace torvanu::bench
