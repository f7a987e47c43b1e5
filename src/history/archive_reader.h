#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

struct archive;

namespace torvanu {

// Past these an archive is not what a watch or a training service exports; refusing them
// keeps time and memory linear in the archive whatever its members claim.
inline constexpr qint64 kMaxMemberBytes = 64 * 1024 * 1024; // once decompressed
inline constexpr qsizetype kMaxArchiveMembers = 100'000;

struct ArchiveMember
{
    enum class Problem
    {
        None,
        TooLarge,    // more than kMaxMemberBytes once decompressed; its bytes are dropped
        OutsidePath, // an absolute path or one with "..": it names a place outside the archive
        Damaged,     // its data cannot be decompressed; see detail
    };

    QString path; // as the archive names it, "/" between folders
    QByteArray bytes;
    Problem problem = Problem::None;
    QString detail; // the decompressor's words, for Damaged
};

struct ArchiveError
{
    enum class Kind
    {
        Unreadable, // not an archive, or damaged past reading on; see detail
        TooManyMembers,
        Cancelled,
    };
    Kind kind = Kind::Unreadable;
    QString detail;
};

// A zip archive read in place, member by member, never extracted to disk. Folders are
// skipped; a member's data is held only while its callback runs.
class ArchiveReader
{
public:
    using Wanted = std::function<bool(const QString& path)>;
    // Return false to stop reading.
    using Visit = std::function<bool(ArchiveMember&&)>;

    // From a file, or from bytes (which must outlive the reader).
    static ArchiveReader ofFile(const QString& path);
    static ArchiveReader ofBytes(QByteArrayView bytes);

    // Member paths only, their data skipped: the count a progress bar needs, and the check
    // against kMaxArchiveMembers before anything is decompressed.
    std::optional<ArchiveError> list(const std::function<void(const QString&)>& member,
                                     const std::atomic<bool>* cancel = nullptr) const;

    // Every member wanted (all when wanted is empty) with its data. cancel is checked between
    // members and inside long ones.
    std::optional<ArchiveError> read(const Wanted& wanted, const Visit& visit,
                                     const std::atomic<bool>* cancel = nullptr) const;

    // Whether a member's path would leave the folder it is extracted into.
    static bool leavesArchive(const QString& path);

private:
    ArchiveReader() = default;
    // libarchive loaded and the archive opened, or why not.
    archive* open(QString& error) const;

    QString m_path;
    QByteArrayView m_bytes;
    bool m_inMemory = false;
};

} // namespace torvanu
