#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace torvanu::bench {

// The shapes of data file that once took the program down or froze it, each made at the size
// that did (under the 64 MiB limit) or at a small size that reaches the same verdict.
enum class HostileShape
{
    FitEmptySessions,   // empty sessions and one-byte records: every session held every record
    FitOneByteSessions, // nothing but one-byte sessions
    FitLaps,            // millions of laps
    GpxEntity,          // an internal entity referenced over and over
    GpxAttributes,      // one element with a great many attributes
    TcxAttributes,
    GpxNested,     // elements nested millions deep
    GpxWide,       // millions of empty elements side by side
    GpxTracks,     // hundreds of thousands of one-point tracks
    TcxActivities, // hundreds of thousands of activities
    GpxPoints,     // one track of more points than any run has
    GzipBomb,      // a compressed file that inflates past the limit
};

enum class HostileSize
{
    Full,  // as found: megabytes
    Small, // for the tests and the fuzzer's seeds
};

struct HostileCase
{
    HostileShape shape;
    const char* name; // for the bench table and the seed files
    bool fullOnly;    // too large to make small with the same verdict
};

const std::vector<HostileCase>& hostileCases();

QByteArray hostileFile(HostileShape shape, HostileSize size);

// The bytes as one gzip member, as services compress the files they export.
QByteArray gzipped(const QByteArray& bytes);

} // namespace torvanu::bench
