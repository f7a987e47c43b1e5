// Any bytes as a .gz data file: what inflates stays within the limit, and what it holds is read
// to an error or sound activities, never a crash, a hang or a flood of memory.

#include "activity/activity_reader.h"
#include "activity/gzip_data.h"
#include "activity_properties.h"

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Every input goes through inflation: the two bytes that mark gzip are put in front when
    // the fuzzer has not written them.
    if (!isGzip(bytes))
        bytes.prepend("\x1F\x8B");
    const Inflated inflated = inflateGzip(bytes, kMaxActivityFileBytes);
    require(inflated.bytes.size() <= kMaxActivityFileBytes, "never more than the limit");
    require(!inflated.error || inflated.bytes.isEmpty(), "an error or the data, never both");
    const ActivityReadResult result = readActivity(bytes);
    fuzz::requireSound(result);
    if (inflated.error)
        require(result.error && result.error->kind == *inflated.error,
                "the reader reports what inflation found");
    return 0;
}
