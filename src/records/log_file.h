#pragma once

#include "records/log_line.h"
#include "storage/byte_digest.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace torvanu {

class Cp932LineReader;

struct LogFileError
{
    enum class Kind
    {
        NoCodec,  // code page 932 is not available on this system
        Read,     // log.dat could not be opened or read
        ReadOnly, // log.dat is marked read-only; it is not replaced
        Write,    // the new file or the folder could not be written; the old file is whole
        Backup,   // log.dat.bak could not be written; log.dat was left as it was
        Encode,   // a row holds a character code page 932 cannot write; see row
    };
    Kind kind = Kind::Read;
    int row = 0;    // 1-based row for Encode, else 0
    QString detail; // the system's wording, for a developer; the window shows its own text
};

struct LogLoadResult
{
    QList<LogLine> lines;       // numbered 1..n; on a read error, the lines read so far
    bool decodedCleanly = true; // false: some bytes did not decode (shown as U+FFFD)
    int hiddenLines = 0;        // lines that are not records, kept to be written back
    std::optional<LogFileError> error;
};

enum class LogComparison
{
    NoFile,    // nothing to compare with: write without asking
    Unchanged, // write without asking
    Changed,   // ask before writing
};

struct LogCompareResult
{
    LogComparison comparison = LogComparison::NoFile;
    std::optional<LogFileError> error;
};

struct LogSaveResult
{
    bool backupWritten = false;
    std::optional<LogFileError> error;
};

struct LogRecoveryResult
{
    QString path;
    bool utf8 = false; // the text could not be written in code page 932
    std::optional<LogFileError> error;
};

// What stands at the place of log.dat now: its bytes' fingerprint, or nothing when there is
// no file.
struct LogFileState
{
    std::optional<ByteDigest::Value> digest;
    std::optional<LogFileError> error; // it could not be read
};

// log.dat in a folder given by the caller. Loading remembers the original bytes of lines that
// did not decode, so that rows holding them can still be written back after a sort or a move,
// and the lines that are not records (without the six commas), which are not shown but go back
// into the file after the record they followed. It also remembers which bytes it read, so that
// a file another program changed since is never overwritten unnoticed.
class LogFile
{
public:
    static constexpr QStringView kFileName = u"log.dat";
    static constexpr QStringView kBackupFileName = u"log.dat.bak";

    explicit LogFile(const QString& folder);

    // Where later saves go: a book read from one folder may be kept in another from now on.
    void setFolder(const QString& folder);

    QString filePath() const;
    QString backupFilePath() const;
    bool exists() const;

    LogLoadResult load();
    // Lines that are not records are left out of the comparison: they are written back as
    // they are, so they alone never make the book count as changed. An empty line still does.
    LogCompareResult compare(const QList<LogLine>& rows) const;
    // Writes nothing when the file already holds exactly the bytes it would get.
    LogSaveResult save(const QList<LogLine>& rows);

    LogFileState currentState() const;
    // Whether the file differs from the bytes the last load read or the last save wrote (a
    // file that appeared where there was none counts as changed).
    bool changedSince(const LogFileState& now) const { return now.digest != m_known; }

    // The rows as a book, exactly as save() would write them (code page 932, CR LF, kept
    // bytes and hidden lines), to a new file named after the moment, e.g.
    // log-recovered-20261207-153000.dat, in folder, which is created when missing. Only rows
    // holding a character code page 932 cannot write make it a UTF-8 file.
    LogRecoveryResult writeRecoveryCopy(const QString& folder, const QList<LogLine>& rows,
                                        const QDateTime& when = QDateTime::currentDateTime()) const;
    // The same book to a path of the user's choosing.
    std::optional<LogFileError> writeCopy(const QString& path, const QList<LogLine>& rows) const;
    // Copies the file as it is now to a new file in its folder named after the moment, e.g.
    // log-outside-20261207-153000.dat.
    LogRecoveryResult keepCurrentAside(const QDateTime& when) const;
    // The name keepCurrentAside would choose at that moment.
    QString asidePath(const QDateTime& when) const;

    // Takes over what another reading of a book kept (the bytes of undecodable rows and the
    // hidden lines this one does not hold yet), for rows merged in from it; and from now on
    // expects the file to hold what that reading read.
    void adoptReading(const LogFile& other);

private:
    using ChunkSink = std::function<std::optional<LogFileError>(QByteArrayView)>;

    // Lines that are not records, in the order read, each group after the record it followed:
    // the record's text after field 0 and how many records with that text came before it.
    struct HiddenGroup
    {
        QString after; // null: before the first record
        int occurrence = 0;
        QList<QByteArray> lines; // each with its line end
    };

    // The new file's bytes, handed to write in pieces of about a megabyte.
    std::optional<LogFileError> encodeRows(const QList<LogLine>& rows, Cp932LineReader* reader,
                                           const ChunkSink& write) const;
    LogRecoveryResult writeBookTo(const QString& path, const QList<LogLine>& rows) const;

    QString m_folder;
    QHash<QString, QByteArray> m_undecodedTails; // text after field 0 -> its original bytes
    QList<HiddenGroup> m_hidden;
    std::optional<ByteDigest::Value> m_known; // the file's bytes as last read or written
};

} // namespace torvanu
