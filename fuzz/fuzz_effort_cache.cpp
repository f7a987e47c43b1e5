// The record analysis's cache of best efforts from arbitrary bytes, as another program, a
// damaged disk or an older version may leave it.
//
// - bytes that are no cache give nothing, and never more than they hold;
// - every entry taken holds up: one effort per distance from the shortest, in range, each a
//   time that is a time;
// - what was taken writes out and reads back as the same entries.

#include "views/analysis/effort_cache.h"
#include "property.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<QHash<EffortKey, FileEfforts>> entries = EffortCache::parse(bytes);
    if (!entries)
        return 0;
    require(entries->size() <= kMaxEffortCacheFiles, "no more entries than the limit");
    for (auto it = entries->cbegin(); it != entries->cend(); ++it) {
        require(!it.key().path.isEmpty() && it.key().path.size() <= kMaxEffortPathLength,
                "a path of a bounded length");
        require(it.value().readable || it.value().efforts.empty(),
                "no efforts from a file that did not read");
        require(it.value().efforts.size() <= kEffortDistances.size(), "at most one per distance");
        for (std::size_t d = 0; d < it.value().efforts.size(); ++d) {
            const BestEffort& effort = it.value().efforts[d];
            require(effort.distance == static_cast<int>(d), "the distances from the shortest");
            require(std::isfinite(effort.seconds) && effort.seconds > 0, "a time");
            require(std::isfinite(effort.start) && effort.start >= 0, "a place on the track");
        }
    }
    const std::optional<QHash<EffortKey, FileEfforts>> again =
        EffortCache::parse(EffortCache::serialise(*entries));
    require(again && *again == *entries, "written and read back unchanged");
    return 0;
}
