// Scans one history to the filled table as the import window does, in a process of its own so
// that its peak memory is its own, and prints "<seconds> <peak kilobytes> <rows> <problem>".
#include "history/book_match.h"
#include "history/history_scan.h"
#include "views/import/history_table.h"

#include "peak_memory.h"

#include <QString>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    const auto start = std::chrono::steady_clock::now();
    torvanu::ScanControl control;
    const torvanu::HistoryScan scan =
        torvanu::scanHistory(QString::fromLocal8Bit(argv[1]), control, std::atoi(argv[2]));
    torvanu::HistoryTable table;
    table.setRows(torvanu::matchWithBook(scan, {}, QString(), QTimeZone::systemTimeZone()),
                  QTimeZone::systemTimeZone());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.6f %lld %d %s\n", seconds, torvanu::bench::peakResidentKilobytes(),
                table.rowCount(), scan.problem.toUtf8().constData());
    return 0;
}
