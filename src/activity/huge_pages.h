#pragma once

#include <cstddef>

namespace torvanu {

constexpr std::size_t kHugePageBytes = 2 * 1024 * 1024;

// Asks the system to back the whole huge pages inside this memory with huge pages, before it
// is first touched: a buffer of tens of megabytes then takes a few dozen page faults instead of
// thousands, which on a virtual machine cost more than the reading itself. Only advice: where
// there are no huge pages, nothing changes.
void preferHugePages(void* data, std::size_t size);

} // namespace torvanu
