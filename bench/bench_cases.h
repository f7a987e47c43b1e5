#pragma once

#include "summary.h"

#include <QString>

namespace torvanu::bench {

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
