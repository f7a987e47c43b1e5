#pragma once

#include "analysis/best_efforts.h"
#include "storage/atomic_file.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace torvanu {

// One race's data file as it was when read. A file changed since (its size or its time) has
// a new key; so has a record whose date, distance or time changed, since they choose the
// activity of a file of several.
struct EffortKey
{
    QString path; // absolute
    qint64 size = 0;
    qint64 modified = 0; // ms since 1970, UTC
    QString race;        // the record's day, metres and seconds

    friend bool operator==(const EffortKey&, const EffortKey&) = default;
};

size_t qHash(const EffortKey& key, size_t seed = 0) noexcept;

// What one data file gave: its best efforts, or nothing because it could not be read or
// holds no timed track.
struct FileEfforts
{
    bool readable = false;
    std::vector<BestEffort> efforts;

    friend bool operator==(const FileEfforts&, const FileEfforts&) = default;
};

// Past these a cache file is not one this program wrote, and is ignored.
constexpr qint64 kMaxEffortCacheBytes = 64 * 1024 * 1024;
constexpr qsizetype kMaxEffortCacheFiles = 200'000;
constexpr qsizetype kMaxEffortPathLength = 32'768;
constexpr qsizetype kMaxEffortRaceLength = 100;

// The efforts of every data file read before, so that opening the record analysis reads
// only the files that are new or changed. The file is a convenience, never a source of
// truth: one that is damaged, foreign or too large counts as empty, and an entry that does
// not hold up (an effort out of range, a time that is no time) is dropped.
class EffortCache
{
public:
    // In the user's cache folder.
    static QString defaultPath();

    // Entries read from bytes as the cache file holds them; nothing when they are no cache.
    static std::optional<QHash<EffortKey, FileEfforts>> parse(const QByteArray& bytes);
    static QByteArray serialise(const QHash<EffortKey, FileEfforts>& entries);

    explicit EffortCache(QString path) : m_path(std::move(path)) {}

    // Reads the file; a missing or untrustworthy one leaves the cache empty.
    void load();
    // Writes only the entries of the keys given (the book's files now), so the file does not
    // keep every file the book ever named.
    std::optional<AtomicWriteError> save(const QList<EffortKey>& keep) const;

    const FileEfforts* find(const EffortKey& key) const;
    // Shared, not copied: the reading looks into its own snapshot while new entries arrive.
    QHash<EffortKey, FileEfforts> entries() const { return m_entries; }
    void insert(const EffortKey& key, FileEfforts efforts);

private:
    QString m_path;
    QHash<EffortKey, FileEfforts> m_entries;
};

} // namespace torvanu
