#include "activity/xml_memory.h"

#include "activity/huge_pages.h"

#include <pugixml.hpp>

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace torvanu {

namespace {

thread_local XmlArena* t_arena = nullptr;

constexpr std::size_t kHugePage = kHugePageBytes;
constexpr std::size_t kRegion = 8 * 1024 * 1024;

// Every block carries a word in front: 0 for a block of the arena, which is freed with it,
// and 1 for one of malloc's, taken when no arena is active.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size)
{
    if (size > SIZE_MAX - kHeader)
        return nullptr;
    if (t_arena) {
        auto* block = static_cast<unsigned char*>(t_arena->allocate(size + kHeader));
        if (!block)
            return nullptr;
        *reinterpret_cast<std::size_t*>(block) = 0;
        return block + kHeader;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = 1;
    return block + kHeader;
}

void deallocate(void* pointer)
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    if (*reinterpret_cast<std::size_t*>(block) == 1)
        std::free(block);
}

// pugixml's allocation functions are global: set once, before the first tree is parsed.
const bool kInstalled = [] {
    pugi::set_memory_management_functions(allocate, deallocate);
    return true;
}();

} // namespace

XmlArena::XmlArena(std::size_t limit) : m_limit(limit)
{
    static_cast<void>(kInstalled);
}

XmlArena::~XmlArena()
{
    if (t_arena == this)
        deactivate();
    for (const Region& region : m_regions)
        munmap(region.mapping, region.length);
}

void XmlArena::activate()
{
    m_previous = t_arena;
    t_arena = this;
}

void XmlArena::deactivate()
{
    t_arena = m_previous;
    m_previous = nullptr;
}

void* XmlArena::allocate(std::size_t size)
{
    size = (size + kHeader - 1) / kHeader * kHeader;
    if (size <= static_cast<std::size_t>(m_end - m_next)) {
        void* block = m_next;
        m_next += size;
        return block;
    }
    const std::size_t wanted = std::max(kRegion, (size + kHugePage - 1) / kHugePage * kHugePage);
    if (wanted > m_limit - m_taken) {
        m_exceeded = true;
        return nullptr;
    }
    // One huge page more than asked for, to start the region on a huge page's boundary.
    const std::size_t length = wanted + kHugePage;
    void* mapping =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    m_regions.push_back({mapping, length});
    m_taken += wanted;
    const auto start =
        (reinterpret_cast<std::uintptr_t>(mapping) + kHugePage - 1) / kHugePage * kHugePage;
    m_next = reinterpret_cast<unsigned char*>(start);
    m_end = m_next + wanted;
    preferHugePages(m_next, wanted);
    void* block = m_next;
    m_next += size;
    return block;
}

} // namespace torvanu
