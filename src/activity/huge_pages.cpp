#include "activity/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace torvanu {

void preferHugePages(void* data, std::size_t size)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    const std::uintptr_t last = (begin + size) / kHugePageBytes * kHugePageBytes;
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace torvanu
