#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace torvanu::bench {

// Nanoseconds on the monotonic clock, which every process on the machine shares: a child
// can stamp a moment that its parent then compares with the moment it started the child.
std::int64_t monotonicNanoseconds();

struct ChildRun
{
    std::int64_t startedNs = 0; // just before the child was created
    std::int64_t endedNs = 0;   // after it was reaped
    int exitCode = -1;          // -1: did not start or did not exit normally
    QByteArray output;          // its standard output
};

struct ChildRequest
{
    QString program;
    QStringList arguments;
    std::vector<std::pair<QByteArray, QByteArray>> environment; // added to or replacing ours
    QString stdoutFile; // empty: captured into ChildRun::output
    QString stdinFile;  // empty: nothing
};

// Runs a program to its end. posix_spawn, so that the cost of starting it does not grow with
// the memory this process holds.
ChildRun runChild(const ChildRequest& request);

} // namespace torvanu::bench
