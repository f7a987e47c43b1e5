#pragma once

#include <cstddef>

namespace torvanu {

// The memory an XML tree may take while one file is parsed. A real 64 MiB GPX file needs
// less than half of it; a crafted one of empty elements or attributes would need ten times
// its size, and is refused when the tree reaches this.
constexpr std::size_t kMaxXmlTreeBytes = 256 * 1024 * 1024;

// While it lives, pugixml's allocations on this thread are counted and refused past the
// limit, which pugixml reports as running out of memory. Trees parsed before it and still
// alive keep their memory and their count.
class XmlMemoryBudget
{
public:
    explicit XmlMemoryBudget(std::size_t limit = kMaxXmlTreeBytes);
    ~XmlMemoryBudget();
    XmlMemoryBudget(const XmlMemoryBudget&) = delete;
    XmlMemoryBudget& operator=(const XmlMemoryBudget&) = delete;

    // Whether an allocation was refused since the budget began.
    bool exceeded() const;

private:
    std::size_t m_previousLimit;
    bool m_previousExceeded;
};

} // namespace torvanu
