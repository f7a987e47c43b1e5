#include "activity/xml_memory.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <limits>

namespace torvanu {

namespace {

thread_local std::size_t t_used = 0;
thread_local std::size_t t_limit = std::numeric_limits<std::size_t>::max();
thread_local bool t_exceeded = false;

// Every block carries its size in front, so that freeing it gives its bytes back to the count;
// the header keeps the block aligned for anything pugixml stores.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    if (size > t_limit - kHeader || t_used > t_limit - kHeader - size) {
        t_exceeded = true;
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size + kHeader;
    t_used += size + kHeader;
    return block + kHeader;
}

void deallocate(void* pointer)
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    t_used -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

// pugixml's allocation functions are global: set once, before the first tree is parsed.
const bool kInstalled = [] {
    pugi::set_memory_management_functions(allocate, deallocate);
    return true;
}();

} // namespace

XmlMemoryBudget::XmlMemoryBudget(std::size_t limit)
    : m_previousLimit(t_limit), m_previousExceeded(t_exceeded)
{
    static_cast<void>(kInstalled);
    t_limit = t_used + limit;
    t_exceeded = false;
}

XmlMemoryBudget::~XmlMemoryBudget()
{
    t_limit = m_previousLimit;
    t_exceeded = m_previousExceeded;
}

bool XmlMemoryBudget::exceeded() const
{
    return t_exceeded;
}

} // namespace torvanu
