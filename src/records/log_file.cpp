#include "records/log_file.h"

#include "records/cp932_line_reader.h"
#include "storage/atomic_file.h"
#include "storage/code_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace torvanu {

namespace {

using namespace Qt::StringLiterals;

constexpr QStringView kLineEnd = u"\r\n";
constexpr QByteArrayView kLineEndBytes = "\r\n";
constexpr qsizetype kFlushSize = qsizetype(1) << 20;

LogFileError makeError(LogFileError::Kind kind, const QString& detail = {}, int row = 0)
{
    return LogFileError{kind, row, detail};
}

LogFileError writeError(const AtomicWriteError& error,
                        LogFileError::Kind kind = LogFileError::Kind::Write)
{
    return makeError(kind, error.detail);
}

// Lines waiting to be encoded are gathered and encoded together; only when the converter
// reports a character it cannot write is each row asked, through the one function that knows
// what code page 932 holds, to name the culprit.
class PendingText
{
public:
    explicit PendingText(const QList<LogLine>& rows) : m_rows(rows) {}

    bool isEmpty() const { return m_count == 0; }
    qsizetype size() const { return m_text.size(); }

    void add(qsizetype row)
    {
        if (m_count == 0)
            m_first = row;
        ++m_count;
        m_text.append(m_rows[row].text()).append(kLineEnd);
    }

    std::optional<LogFileError> encodeInto(QStringEncoder& encoder, QByteArray& out)
    {
        if (m_count == 0)
            return std::nullopt;
        out.append(encoder(m_text));
        if (encoder.hasError()) {
            encoder.resetState();
            for (qsizetype row = m_first; row < m_first + m_count; ++row) {
                if (firstUnstorableIndex(m_rows[row].text()))
                    return makeError(LogFileError::Kind::Encode, {}, static_cast<int>(row + 1));
            }
            return makeError(LogFileError::Kind::Encode, {}, static_cast<int>(m_first + 1));
        }
        m_text.clear();
        m_count = 0;
        return std::nullopt;
    }

private:
    const QList<LogLine>& m_rows;
    QString m_text;
    qsizetype m_first = 0;
    qsizetype m_count = 0;
};

std::optional<LogFileError> copyFile(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return makeError(LogFileError::Kind::Backup, source.errorString());
    AtomicFile target(to);
    if (auto error = target.open())
        return writeError(*error, LogFileError::Kind::Backup);
    QByteArray buffer(kFlushSize, Qt::Uninitialized);
    while (true) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0)
            return makeError(LogFileError::Kind::Backup, source.errorString());
        if (got == 0)
            break;
        if (auto error = target.write(QByteArrayView(buffer.constData(), got)))
            return writeError(*error, LogFileError::Kind::Backup);
    }
    if (auto error = target.commit())
        return writeError(*error, LogFileError::Kind::Backup);
    return std::nullopt;
}

// Windows' read-only attribute arrives as a file without write permission; QSaveFile would
// replace it through the folder regardless, and as root the access check alone says yes.
bool isMarkedReadOnly(const QFileInfo& info)
{
    return !info.isWritable() || !info.permissions().testFlag(QFileDevice::WriteOwner);
}

// A log.dat is read whole, at start and again at close. What is not a plain file (a FIFO would
// hold the program up for good) or is far beyond any record book (a million races take about
// 100 MB) is refused unopened: it then shows the read-failure message and, as its comparison
// fails too, is never overwritten.
constexpr qint64 kMaxFileSize = qint64(256) << 20;

bool openForReading(QFile& file, std::optional<LogFileError>& error)
{
    const QFileInfo info(file.fileName());
    if (!info.isFile()) {
        error = makeError(LogFileError::Kind::Read, u"not a plain file"_s);
        return false;
    }
    if (info.size() > kMaxFileSize) {
        error = makeError(LogFileError::Kind::Read, u"larger than %1 bytes"_s.arg(kMaxFileSize));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = makeError(LogFileError::Kind::Read, file.errorString());
        return false;
    }
    return true;
}

// The file opened for reading with its line reader; nothing, and error set, when either fails.
std::optional<Cp932LineReader> openReader(QFile& file, std::optional<LogFileError>& error)
{
    std::optional<Cp932LineReader> reader;
    if (!openForReading(file, error))
        return reader;
    reader.emplace(file);
    if (!reader->isValid()) {
        error = makeError(LogFileError::Kind::NoCodec);
        reader.reset();
    }
    return reader;
}

} // namespace

LogFile::LogFile(const QString& folder) : m_folder(folder) {}

QString LogFile::filePath() const
{
    return QDir(m_folder).filePath(kFileName.toString());
}

QString LogFile::backupFilePath() const
{
    return QDir(m_folder).filePath(kBackupFileName.toString());
}

bool LogFile::exists() const
{
    return QFileInfo::exists(filePath());
}

LogLoadResult LogFile::load()
{
    LogLoadResult result;
    m_undecodedTails.clear();

    QFile file(filePath());
    std::optional<Cp932LineReader> opened = openReader(file, result.error);
    if (!opened)
        return result;
    Cp932LineReader& reader = *opened;

    Cp932LineReader::Line line;
    while (reader.next(line)) {
        std::optional<LogLine> parsed = LogLine::parse(reader.takeText(line));
        if (!parsed)
            continue;
        parsed->setNo(result.lines.size() + 1);
        if (!line.clean) {
            // Kept so that the row can be written back with its own bytes wherever it moves;
            // the first comma byte is the first comma character, as no trail byte is 0x2C.
            const qsizetype comma = line.bytes.indexOf(',');
            if (comma >= 0) {
                const QByteArrayView tailBytes = line.bytes.sliced(comma);
                const QString tailText =
                    Cp932LineReader::decodeLine(tailBytes, line.terminator, nullptr);
                if (tailText == parsed->afterNo())
                    m_undecodedTails.insert(tailText, tailBytes.toByteArray());
            }
        }
        result.lines.append(std::move(*parsed));
    }
    result.decodedCleanly = reader.decodedCleanly();
    if (reader.hasReadError())
        result.error = makeError(LogFileError::Kind::Read, file.errorString());
    return result;
}

LogCompareResult LogFile::compare(const QList<LogLine>& rows) const
{
    LogCompareResult result;
    if (!exists())
        return result;

    QFile file(filePath());
    std::optional<Cp932LineReader> opened = openReader(file, result.error);
    if (!opened)
        return result;
    Cp932LineReader& reader = *opened;

    // Counted exactly as the old program did, so that the same files raise the question:
    // short lines are not compared but counted, and any count but rows + 1 is a change.
    bool changed = false;
    qsizetype i = 1;
    Cp932LineReader::Line line;
    while (reader.next(line)) {
        if (const std::optional<LogLine::Fields> fields = LogLine::split(line.text)) {
            if (i <= rows.size() && !rows[i - 1].matches(*fields)) {
                changed = true;
                break;
            }
        }
        ++i;
    }
    if (reader.hasReadError()) {
        result.error = makeError(LogFileError::Kind::Read, file.errorString());
        return result;
    }
    if (i != rows.size() + 1)
        changed = true;
    result.comparison = changed ? LogComparison::Changed : LogComparison::Unchanged;
    return result;
}

std::optional<LogFileError> LogFile::encodeRows(const QList<LogLine>& rows, Cp932LineReader* reader,
                                                bool& sameBytes, const ChunkSink& write) const
{
    QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return makeError(LogFileError::Kind::NoCodec);

    // Row n is paired with the n-th record line of the old file, as loading paired them.
    // Where their texts agree, the old bytes go out again: code page 932 has several byte
    // forms for some characters, and a line that did not decode must not be re-encoded.
    QByteArray buffer;
    PendingText pending(rows);
    Cp932LineReader::Line line;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const LogLine& current = rows[row];
        bool paired = false;
        while (reader && reader->next(line)) {
            if (LogLine::split(line.text)) {
                paired = true;
                break;
            }
            sameBytes = false;
        }

        if (paired && line.text == current.text()) {
            if (auto error = pending.encodeInto(encoder, buffer))
                return error;
            // The row keeps its bytes, but a lone LF or CR, or none at the end of the file,
            // goes out as the CR LF every line of the book ends with.
            buffer.append(line.bytes).append(kLineEndBytes);
            if (line.terminator != kLineEndBytes)
                sameBytes = false;
        } else {
            sameBytes = false;
            const auto tail = m_undecodedTails.isEmpty()
                                  ? m_undecodedTails.cend()
                                  : m_undecodedTails.constFind(current.afterNo().toString());
            if (tail != m_undecodedTails.cend()) {
                if (auto error = pending.encodeInto(encoder, buffer))
                    return error;
                buffer.append(encoder(current.no()));
                if (encoder.hasError())
                    return makeError(LogFileError::Kind::Encode, {}, static_cast<int>(row + 1));
                buffer.append(*tail).append(kLineEndBytes);
            } else {
                pending.add(row);
            }
        }

        if (pending.size() >= kFlushSize / 2) {
            if (auto error = pending.encodeInto(encoder, buffer))
                return error;
        }
        if (buffer.size() >= kFlushSize) {
            if (auto error = write(buffer))
                return error;
            buffer.clear();
        }
    }
    if (auto error = pending.encodeInto(encoder, buffer))
        return error;
    return write(buffer);
}

LogSaveResult LogFile::save(const QList<LogLine>& rows)
{
    LogSaveResult result;
    const QString path = filePath();
    const QFileInfo info(path);
    const bool hadFile = info.exists();
    if (hadFile && isMarkedReadOnly(info)) {
        result.error = makeError(LogFileError::Kind::ReadOnly);
        return result;
    }

    QFile old(path);
    std::optional<Cp932LineReader> reader = hadFile ? openReader(old, result.error) : std::nullopt;
    if (hadFile && !reader)
        return result;

    AtomicFile out(path);
    if (auto error = out.open()) {
        result.error = writeError(*error);
        return result;
    }
    bool sameBytes = true;
    const auto write = [&out](QByteArrayView bytes) -> std::optional<LogFileError> {
        if (auto error = out.write(bytes))
            return writeError(*error);
        return std::nullopt;
    };
    if (auto error = encodeRows(rows, reader ? &*reader : nullptr, sameBytes, write)) {
        result.error = std::move(error);
        return result;
    }

    if (reader) {
        // The rest of the old file decides whether the bytes differ and whether it all decoded.
        Cp932LineReader::Line line;
        while (reader->next(line))
            sameBytes = false;
        if (reader->hasReadError()) {
            result.error = makeError(LogFileError::Kind::Read, old.errorString());
            return result;
        }
        old.close();

        if (!sameBytes || !reader->decodedCleanly()) {
            if (auto error = copyFile(path, backupFilePath())) {
                result.error = std::move(error);
                return result;
            }
            result.backupWritten = true;
        }
    }

    if (auto error = out.commit())
        result.error = writeError(*error);
    return result;
}

LogRecoveryResult LogFile::writeRecoveryCopy(const QString& folder, const QList<LogLine>& rows,
                                             const QDateTime& when)
{
    LogRecoveryResult result;
    QDir dir(folder);
    if (!dir.mkpath(u"."_s)) {
        result.error = makeError(LogFileError::Kind::Write, folder);
        return result;
    }
    const QString stem = u"log-recovered-"_s + when.toString(u"yyyyMMdd-HHmmss"_s);
    QString path = dir.filePath(stem + u".dat"_s);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + u'-' + QString::number(n) + u".dat"_s);

    // Code page 932 first, so the copy can simply be renamed to log.dat; only a text it
    // cannot hold goes out as UTF-8, and then whole, marked by a byte order mark.
    for (const bool utf8 : {false, true}) {
        QStringEncoder encoder(utf8 ? "UTF-8" : kCodePage932, QStringConverter::Flag::Stateless);
        if (!encoder.isValid()) {
            result.error = makeError(LogFileError::Kind::NoCodec);
            continue;
        }
        QByteArray bytes;
        if (utf8)
            bytes.append("\xEF\xBB\xBF");
        bool encoded = true;
        for (const LogLine& row : rows) {
            bytes.append(encoder(row.text())).append(kLineEndBytes);
            if (encoder.hasError()) {
                encoded = false;
                break;
            }
        }
        if (!encoded) {
            result.error = makeError(LogFileError::Kind::Encode);
            continue;
        }
        if (auto error = writeFileAtomically(path, bytes)) {
            result.error = writeError(*error);
            return result;
        }
        result.path = path;
        result.utf8 = utf8;
        result.error.reset();
        return result;
    }
    return result;
}

} // namespace torvanu
