#include "records/log_file.h"

#include "records/book_permissions.h"
#include "records/cp932_line_reader.h"
#include "storage/atomic_file.h"
#include "storage/code_page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
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

// The copy is as private as the book it copies.
std::optional<LogFileError> copyFile(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return makeError(LogFileError::Kind::Backup, source.errorString());
    AtomicFile target(to, bookPermissions(from));
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

// A name in folder beginning with prefix and the moment, not yet taken: e.g.
// log-recovered-20261207-153000.dat, then log-recovered-20261207-153000-2.dat.
QString datedName(const QDir& folder, const QString& prefix, const QDateTime& when)
{
    const QString stem = prefix + when.toString(u"yyyyMMdd-HHmmss"_s);
    QString path = folder.filePath(stem + u".dat"_s);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(stem + u'-' + QString::number(n) + u".dat"_s);
    return path;
}

// A line that is not a record: it does not hold the six commas. An empty line is nothing to
// keep; it is dropped and makes the book count as changed, as before.
bool isHiddenLine(const Cp932LineReader::Line& line)
{
    return !line.bytes.isEmpty() && !LogLine::split(line.text);
}

} // namespace

LogFile::LogFile(const QString& folder) : m_folder(folder) {}

void LogFile::setFolder(const QString& folder)
{
    // A book moving to a new place expects no file there.
    if (folder != m_folder)
        m_known.reset();
    m_folder = folder;
}

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
    m_hidden.clear();
    m_known.reset();

    QFile file(filePath());
    std::optional<Cp932LineReader> opened = openReader(file, result.error);
    if (!opened)
        return result;
    Cp932LineReader& reader = *opened;

    Cp932LineReader::Line line;
    while (reader.next(line)) {
        // The row takes the decoded text over; parse moves it only when the line is a record.
        std::optional<LogLine> parsed = LogLine::parse(reader.takeText(line));
        if (!parsed) {
            // An empty line is no record and nothing to keep; any other line is kept.
            if (!line.bytes.isEmpty()) {
                const bool newGroup =
                    m_hidden.isEmpty() ||
                    m_hidden.last().occurrence != static_cast<int>(result.lines.size());
                if (newGroup) {
                    // occurrence holds the record count for now; see below.
                    m_hidden.append({result.lines.isEmpty()
                                         ? QString()
                                         : result.lines.last().afterNo().toString(),
                                     static_cast<int>(result.lines.size()),
                                     {}});
                }
                // With its own line end: a file of other lines (a link to some other file,
                // say) must come out as it went in.
                QByteArray kept = line.bytes.toByteArray();
                kept.append(line.terminator.isEmpty() ? kLineEndBytes : line.terminator);
                m_hidden.last().lines.append(std::move(kept));
                ++result.hiddenLines;
            }
            continue;
        }
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
    if (reader.hasReadError()) {
        result.error = makeError(LogFileError::Kind::Read, file.errorString());
        return result;
    }
    m_known = reader.digest();

    // A group follows the record with its text that had as many of the same text before it:
    // with two identical records, the lines stay after the second. Counted only when there
    // are hidden lines, so that a plain book costs nothing here.
    if (!m_hidden.isEmpty()) {
        QSet<QString> anchors;
        for (const HiddenGroup& group : std::as_const(m_hidden))
            anchors.insert(group.after);
        QHash<QString, int> seen;
        qsizetype next = m_hidden.first().after.isNull() ? 1 : 0;
        for (qsizetype record = 0; record < result.lines.size() && next < m_hidden.size();
             ++record) {
            const QString text = result.lines[record].afterNo().toString();
            if (!anchors.contains(text))
                continue;
            const int occurrence = seen[text]++;
            if (m_hidden[next].occurrence == record + 1) {
                m_hidden[next].occurrence = occurrence;
                ++next;
            }
        }
    }
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

    // Counted as the old program did, so that the same files raise the question: a short line
    // is counted but not compared, and any count but rows + 1 is a change. Only the lines that
    // are kept and written back as they are do not count.
    bool changed = false;
    qsizetype i = 1;
    Cp932LineReader::Line line;
    while (reader.next(line)) {
        if (const std::optional<LogLine::Fields> fields = LogLine::split(line.text)) {
            if (i <= rows.size() && !rows[i - 1].matches(*fields)) {
                changed = true;
                break;
            }
        } else if (isHiddenLine(line)) {
            continue;
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

LogFileState LogFile::currentState() const
{
    LogFileState state;
    const QString path = filePath();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return state;
    QFile file(path);
    if (!openForReading(file, state.error))
        return state;
    ByteDigest digest;
    QByteArray buffer(kFlushSize, Qt::Uninitialized);
    while (true) {
        const qint64 got = file.read(buffer.data(), buffer.size());
        if (got < 0) {
            state.error = makeError(LogFileError::Kind::Read, file.errorString());
            return state;
        }
        if (got == 0)
            break;
        digest.add(QByteArrayView(buffer.constData(), got));
    }
    state.digest = digest.value();
    return state;
}

std::optional<LogFileError> LogFile::encodeRows(const QList<LogLine>& rows, Cp932LineReader* reader,
                                                const ChunkSink& write) const
{
    QStringEncoder encoder(kCodePage932, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return makeError(LogFileError::Kind::NoCodec);

    QByteArray buffer;
    PendingText pending(rows);

    // Hidden lines go out as they were read, each group after the row it followed; groups
    // whose row is gone or changed follow the last row.
    QSet<QString> anchors;
    QHash<QString, int> seen;
    QList<bool> written(m_hidden.size(), false);
    const auto writeGroup = [&](qsizetype group) -> std::optional<LogFileError> {
        if (auto error = pending.encodeInto(encoder, buffer))
            return error;
        for (const QByteArray& hidden : m_hidden[group].lines)
            buffer.append(hidden);
        written[group] = true;
        return std::nullopt;
    };
    for (qsizetype group = 0; group < m_hidden.size(); ++group) {
        if (m_hidden[group].after.isNull()) {
            if (auto error = writeGroup(group))
                return error;
        } else {
            anchors.insert(m_hidden[group].after);
        }
    }

    // Row n is paired with the n-th record line of the old file, as loading paired them.
    // Where their texts agree, the old bytes go out again: code page 932 has several byte
    // forms for some characters, and a line that did not decode must not be re-encoded.
    Cp932LineReader::Line line;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const LogLine& current = rows[row];
        bool paired = false;
        while (reader && reader->next(line)) {
            if (LogLine::split(line.text)) {
                paired = true;
                break;
            }
        }

        if (paired && line.text == current.text()) {
            if (auto error = pending.encodeInto(encoder, buffer))
                return error;
            // The row keeps its bytes, but a lone LF or CR, or none at the end of the file,
            // goes out as the CR LF every line of the book ends with.
            buffer.append(line.bytes).append(kLineEndBytes);
        } else {
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

        if (!anchors.isEmpty()) {
            const QString text = current.afterNo().toString();
            if (anchors.contains(text)) {
                const int occurrence = seen[text]++;
                for (qsizetype group = 0; group < m_hidden.size(); ++group) {
                    if (!written[group] && m_hidden[group].occurrence == occurrence &&
                        m_hidden[group].after == text) {
                        if (auto error = writeGroup(group))
                            return error;
                        break;
                    }
                }
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
    for (qsizetype group = 0; group < m_hidden.size(); ++group) {
        if (!written[group]) {
            if (auto error = writeGroup(group))
                return error;
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

    // QSaveFile writes through a symbolic link to its target and keeps the old file's
    // permission bits.
    AtomicFile out(path);
    if (auto error = out.open()) {
        result.error = writeError(*error);
        return result;
    }
    ByteDigest written;
    const auto write = [&out, &written](QByteArrayView bytes) -> std::optional<LogFileError> {
        written.add(bytes);
        if (auto error = out.write(bytes))
            return writeError(*error);
        return std::nullopt;
    };
    if (auto error = encodeRows(rows, reader ? &*reader : nullptr, write)) {
        result.error = std::move(error);
        return result;
    }

    if (reader) {
        // The rest of the old file decides whether the bytes differ.
        Cp932LineReader::Line line;
        while (reader->next(line)) {
        }
        if (reader->hasReadError()) {
            result.error = makeError(LogFileError::Kind::Read, old.errorString());
            return result;
        }
        old.close();

        // The same bytes again: the file is left alone, its owner, links and times with it.
        if (reader->digest() == written.value()) {
            m_known = written.value();
            return result;
        }
        if (auto error = copyFile(path, backupFilePath())) {
            result.error = std::move(error);
            return result;
        }
        result.backupWritten = true;
    }

    if (auto error = out.commit()) {
        result.error = writeError(*error);
        return result;
    }
    m_known = written.value();
    return result;
}

LogRecoveryResult LogFile::writeBookTo(const QString& path, const QList<LogLine>& rows) const
{
    LogRecoveryResult result;
    const std::optional<QFileDevice::Permissions> permissions = bookPermissions(filePath());

    // Paired with log.dat where it can still be read, for the byte forms its rows were read in.
    QFile old(filePath());
    std::optional<LogFileError> ignored;
    std::optional<Cp932LineReader> reader = openReader(old, ignored);

    AtomicFile out(path, permissions);
    if (auto error = out.open()) {
        result.error = writeError(*error);
        return result;
    }
    const auto write = [&out](QByteArrayView bytes) -> std::optional<LogFileError> {
        if (auto error = out.write(bytes))
            return writeError(*error);
        return std::nullopt;
    };
    std::optional<LogFileError> error = encodeRows(rows, reader ? &*reader : nullptr, write);
    if (!error) {
        if (auto failed = out.commit())
            error = writeError(*failed);
    }
    if (error && error->kind != LogFileError::Kind::Encode) {
        result.error = std::move(error);
        return result;
    }
    if (!error) {
        result.path = path;
        return result;
    }

    // Only a character code page 932 cannot hold at all (never one read from the file) is
    // left: then the text goes out whole as UTF-8, marked by a byte order mark.
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray bytes("\xEF\xBB\xBF");
    for (const LogLine& row : rows)
        bytes.append(encoder(row.text())).append(kLineEndBytes);
    if (auto failed = writeFileAtomically(path, bytes, permissions)) {
        result.error = writeError(*failed);
        return result;
    }
    result.path = path;
    result.utf8 = true;
    return result;
}

LogRecoveryResult LogFile::writeRecoveryCopy(const QString& folder, const QList<LogLine>& rows,
                                             const QDateTime& when) const
{
    QDir dir(folder);
    if (!dir.mkpath(u"."_s)) {
        LogRecoveryResult result;
        result.error = makeError(LogFileError::Kind::Write, folder);
        return result;
    }
    return writeBookTo(datedName(dir, u"log-recovered-"_s, when), rows);
}

std::optional<LogFileError> LogFile::writeCopy(const QString& path,
                                               const QList<LogLine>& rows) const
{
    return writeBookTo(path, rows).error;
}

QString LogFile::asidePath(const QDateTime& when) const
{
    return datedName(QDir(QFileInfo(filePath()).absolutePath()), u"log-outside-"_s, when);
}

LogRecoveryResult LogFile::keepCurrentAside(const QDateTime& when) const
{
    LogRecoveryResult result;
    result.path = asidePath(when);
    if (auto error = copyFile(filePath(), result.path)) {
        error->kind = LogFileError::Kind::Write;
        result.error = std::move(error);
        result.path.clear();
    }
    return result;
}

void LogFile::adoptReading(const LogFile& other)
{
    for (auto tail = other.m_undecodedTails.cbegin(); tail != other.m_undecodedTails.cend(); ++tail)
        m_undecodedTails.insert(tail.key(), tail.value());
    // Hidden lines the other file holds and this reading does not go after the last row.
    QHash<QByteArray, int> held;
    for (const HiddenGroup& group : std::as_const(m_hidden)) {
        for (const QByteArray& hidden : group.lines)
            ++held[hidden];
    }
    HiddenGroup extra{u"\n"_s, -1, {}}; // an anchor no row has
    for (const HiddenGroup& group : other.m_hidden) {
        for (const QByteArray& hidden : group.lines) {
            if (held.value(hidden) > 0)
                --held[hidden];
            else
                extra.lines.append(hidden);
        }
    }
    if (!extra.lines.isEmpty())
        m_hidden.append(std::move(extra));
    m_known = other.m_known;
}

} // namespace torvanu
