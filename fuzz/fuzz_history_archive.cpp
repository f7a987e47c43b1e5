// Any bytes as an export archive: members are read whole or refused, never past the member
// limit, never more of them than the archive limit, and a path that leaves the archive is
// always refused.

#include "history/archive_reader.h"
#include "property.h"

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ArchiveReader reader = ArchiveReader::ofBytes(bytes);
    qsizetype listed = 0;
    // Either pass may stop at damage; a damaged archive may also show the reading another
    // number of members than the listing, which the scan says instead of dropping what does
    // not fit.
    static_cast<void>(reader.list([&listed](const QString&) { ++listed; }));
    require(listed <= kMaxArchiveMembers, "never more members than the limit");
    qsizetype visited = 0;
    static_cast<void>(reader.read({}, [&visited](ArchiveMember&& member) {
        ++visited;
        require(member.bytes.size() <= kMaxMemberBytes, "a member never past its limit");
        require(member.problem == ArchiveMember::Problem::None || member.bytes.isEmpty(),
                "a refused member brings no bytes");
        require(!ArchiveReader::leavesArchive(member.path) ||
                    member.problem == ArchiveMember::Problem::OutsidePath,
                "a path out of the archive is refused");
        return true;
    }));
    require(visited <= kMaxArchiveMembers, "never more members read than the limit");
    return 0;
}
