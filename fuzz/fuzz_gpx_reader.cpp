// GPX from arbitrary bytes: an error or sound activities, never a crash or a hang.

#include "activity/gpx_reader.h"
#include "activity_properties.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    torvanu::fuzz::requireSound(torvanu::readGpx(bytes));
    return 0;
}
