#pragma once

#include "records/record_change.h"
#include "storage/append_file.h"

#include <QDateTime>
#include <QFileDevice>
#include <QList>
#include <QString>

#include <optional>

namespace torvanu {

// Which log.dat a journal's changes apply to: a book saved or edited since differs in one of
// these. Read from the file system only, so taking it costs nothing at start.
struct BookFingerprint
{
    qint64 size = -1; // -1: there was no book
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    static BookFingerprint of(const QString& path);
    friend bool operator==(const BookFingerprint&, const BookFingerprint&) = default;
};

struct JournalError
{
    enum class Kind
    {
        Read,       // the journal could not be opened or read
        NotJournal, // its first bytes are not a journal's
        Write,      // it could not be created, written, flushed, renamed or removed
    };
    Kind kind = Kind::Read;
    QString detail; // for a developer; the window shows its own text
};

struct JournalReadResult
{
    BookFingerprint base;
    QList<RecordChange> changes; // every whole entry, in order
    qint64 wholeBytes = 0;       // where the last whole entry ends
    bool cut = false;            // bytes after it (an entry torn by a crash, or damage)
    std::optional<JournalError> error;
};

struct JournalSetAside
{
    QString path;
    std::optional<JournalError> error;
};

// The changes of the record list since log.dat was read, kept beside it until the book is
// saved, so that a crash loses none of them. Each change is one entry with its length and
// checksum, flushed to the disk before the next one can be made; a reader believes only whole
// entries, so a journal torn by a crash restores everything up to the tear.
class RecordJournal
{
public:
    static constexpr QStringView kFileName = u"log.dat.journal";
    // One entry holds at most one record, and log.dat itself is refused beyond 256 MiB.
    static constexpr qint64 kMaxEntryBytes = qint64(512) << 20;

    explicit RecordJournal(const QString& folder);

    QString filePath() const;
    bool exists() const;

    // The book the next changes apply to, and the permissions of its file (the journal is
    // never more open). The journal itself is created with the first change.
    void setBase(const BookFingerprint& base, QFileDevice::Permissions permissions);
    const BookFingerprint& base() const { return m_base; }
    std::optional<JournalError> append(const RecordChange& change);
    // Changes made by one action of the user (a history's rows added at once): each its own
    // entry, as append writes it, flushed to the disk together.
    std::optional<JournalError> append(const QList<RecordChange>& changes);
    // Goes on writing a journal that was read (and restored): the torn tail, if any, is cut.
    std::optional<JournalError> continueAfter(const JournalReadResult& read);

    // After a save or a close that threw the changes away.
    std::optional<JournalError> remove();
    // Renames the journal to a name of its own, e.g. log-unsaved-20261207-153000.journal,
    // beside it, so that it is kept but never offered again.
    JournalSetAside setAside(const QDateTime& when = QDateTime::currentDateTime());

    // Bounded: time and memory linear in the file's size, no entry above kMaxEntryBytes.
    static JournalReadResult read(const QString& path);

    static QByteArray encodeEntry(const RecordChange& change);

private:
    QString m_folder;
    BookFingerprint m_base;
    QFileDevice::Permissions m_permissions;
    AppendFile m_file;
};

} // namespace torvanu
