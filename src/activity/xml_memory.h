#pragma once

#include <cstddef>
#include <vector>

namespace torvanu {

// The memory an XML tree may take while one file is parsed. A watch's GPX or TCX file takes
// about twice its size (a 4-hour run at a point a second: 3.3 MB, and a tree of 7 MB), so
// this holds the tree of a real file up to the size limit; a crafted one of empty elements or
// attributes would take ten times its size, and is refused when its tree reaches this.
constexpr std::size_t kMaxXmlTreeBytes = 128 * 1024 * 1024;

// Where pugixml puts one tree: large regions taken from the system in huge pages where it has
// them, since a tree of millions of nodes would otherwise take a page fault every 4 KiB, and
// refused past the limit (which pugixml reports as running out of memory). The tree is freed
// with the arena, so the arena must outlive the document that uses it.
class XmlArena
{
public:
    explicit XmlArena(std::size_t limit = kMaxXmlTreeBytes);
    ~XmlArena();
    XmlArena(const XmlArena&) = delete;
    XmlArena& operator=(const XmlArena&) = delete;

    // While active, pugixml's allocations on this thread come from this arena.
    void activate();
    void deactivate();

    // Whether an allocation was refused.
    bool exceeded() const { return m_exceeded; }

    void* allocate(std::size_t size);

private:
    struct Region
    {
        void* mapping = nullptr;
        std::size_t length = 0;
    };

    std::size_t m_limit;
    std::size_t m_taken = 0; // bytes of regions
    bool m_exceeded = false;
    std::vector<Region> m_regions;
    unsigned char* m_next = nullptr; // the free part of the last region
    unsigned char* m_end = nullptr;
    XmlArena* m_previous = nullptr;
};

} // namespace torvanu
