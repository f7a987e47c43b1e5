// Reads one data file as ファイルから読込 does, in a process of its own so that its peak memory
// is its own, and prints "<seconds> <peak kilobytes> <activities> <processor seconds>\t<message>":
// on a machine shared with other work the processor time tells what the reading costs.
#include "activity/activity_reader.h"
#include "activity/activity_texts.h"

#include "peak_memory.h"

#include <QString>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    const double processorStart = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    const torvanu::ActivityReadResult result =
        torvanu::readActivityFile(QString::fromLocal8Bit(argv[1]));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const QByteArray message =
        result.error ? torvanu::activityErrorText(*result.error).toUtf8() : QByteArray();
    std::printf("%.6f %lld %lld %.6f\t%s\n", seconds, torvanu::bench::peakResidentKilobytes(),
                static_cast<long long>(result.activities.size()),
                processorSeconds() - processorStart, message.constData());
    return 0;
}
