#pragma once

#include "records/log_line.h"

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

// log.dat in a folder given by the caller. Loading remembers the original bytes of lines that
// did not decode, so that rows holding them can still be written back after a sort or a move.
class LogFile
{
public:
    static constexpr QStringView kFileName = u"log.dat";
    static constexpr QStringView kBackupFileName = u"log.dat.bak";

    explicit LogFile(const QString& folder);

    // Where later saves go: a book read from one folder may be kept in another from now on.
    void setFolder(const QString& folder) { m_folder = folder; }

    QString filePath() const;
    QString backupFilePath() const;
    bool exists() const;

    LogLoadResult load();
    LogCompareResult compare(const QList<LogLine>& rows) const;
    LogSaveResult save(const QList<LogLine>& rows);

    // Writes rows to a new file named after the moment, e.g. log-recovered-20261207-153000.dat,
    // in folder, which is created when missing.
    static LogRecoveryResult
    writeRecoveryCopy(const QString& folder, const QList<LogLine>& rows,
                      const QDateTime& when = QDateTime::currentDateTime());

private:
    using ChunkSink = std::function<std::optional<LogFileError>(QByteArrayView)>;

    // The new file's bytes, handed to write in pieces of about a megabyte. sameBytes turns
    // false where they differ from the old file's so far.
    std::optional<LogFileError> encodeRows(const QList<LogLine>& rows, Cp932LineReader* reader,
                                           bool& sameBytes, const ChunkSink& write) const;

    QString m_folder;
    QHash<QString, QByteArray> m_undecodedTails; // text after field 0 -> its original bytes
};

} // namespace torvanu
