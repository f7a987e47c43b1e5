#pragma once

#include "summary.h"

#include <QString>

#include <chrono>

namespace torvanu::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct BenchContext
{
    QString root;       // the temporary folder everything is written into
    QString programDir; // where torvanu_bench and its two child programs are
    bool smoke = false; // every case once, at a tiny size
    TableOptions sizes;
    Samples* samples = nullptr;
};

// Registers every case with Google Benchmark; the context must outlive the run.
void registerCases(BenchContext& context);

} // namespace torvanu::bench
