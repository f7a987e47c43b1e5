#include "records/record_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <array>
#include <limits>

#include <sys/stat.h>

namespace torvanu {

namespace {

using namespace Qt::StringLiterals;

constexpr QByteArrayView kMagic = "TORVANU-JOURNAL\n";
constexpr quint32 kVersion = 1;
// magic, version, the book's size, time and inode, the checksum of all that
constexpr qsizetype kHeaderSize = 16 + 4 + 8 + 8 + 8 + 4;
constexpr qsizetype kEntryHeadSize = 8; // length, checksum

constexpr std::array<quint32, 256> makeCrcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (0xEDB88320u ^ (value >> 1)) : (value >> 1);
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> kCrcTable = makeCrcTable();

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = kCrcTable[(crc ^ static_cast<quint8>(byte)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

template <typename T> void put(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// UTF-16 as held, so that every text, a lone surrogate included, comes back unchanged.
void putText(QByteArray& out, const QString& text)
{
    put<quint32>(out, static_cast<quint32>(text.size()));
    for (const QChar unit : text)
        put<quint16>(out, unit.unicode());
}

// Reads a payload of known length; every read is checked against what is left.
class Cursor
{
public:
    explicit Cursor(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at == m_bytes.size(); }

    template <typename T> std::optional<T> get()
    {
        if (m_bytes.size() - m_at < qsizetype(sizeof(T)))
            return std::nullopt;
        const T value = qFromLittleEndian<T>(m_bytes.data() + m_at);
        m_at += qsizetype(sizeof(T));
        return value;
    }

    std::optional<QString> text()
    {
        const auto units = get<quint32>();
        if (!units || (m_bytes.size() - m_at) / 2 < qsizetype(*units))
            return std::nullopt;
        QString result(qsizetype(*units), Qt::Uninitialized);
        for (qsizetype i = 0; i < result.size(); ++i)
            result[i] = QChar(qFromLittleEndian<quint16>(m_bytes.data() + m_at + 2 * i));
        m_at += 2 * result.size();
        return result;
    }

    std::optional<int> row()
    {
        const auto value = get<quint32>();
        if (!value || *value > quint32(std::numeric_limits<int>::max()))
            return std::nullopt;
        return int(*value);
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

void putRecord(QByteArray& out, const RaceRecord& record)
{
    for (const QString* field : {&record.no, &record.raceDate, &record.raceName, &record.distance,
                                 &record.raceTime, &record.remarks, &record.dataPath})
        putText(out, *field);
}

bool getRecord(Cursor& in, RaceRecord& record)
{
    for (QString* field : {&record.no, &record.raceDate, &record.raceName, &record.distance,
                           &record.raceTime, &record.remarks, &record.dataPath}) {
        auto text = in.text();
        if (!text)
            return false;
        *field = std::move(*text);
    }
    return true;
}

std::optional<RecordChange> decodePayload(QByteArrayView payload)
{
    Cursor in(payload);
    const auto kind = in.get<quint8>();
    if (!kind)
        return std::nullopt;
    RecordChange change;
    change.kind = RecordChange::Kind(*kind);
    switch (change.kind) {
    case RecordChange::Kind::Add:
        if (!getRecord(in, change.record))
            return std::nullopt;
        break;
    case RecordChange::Kind::Change: {
        const auto row = in.row();
        if (!row || !getRecord(in, change.record))
            return std::nullopt;
        change.row = *row;
        break;
    }
    case RecordChange::Kind::Remove: {
        const auto row = in.row();
        if (!row)
            return std::nullopt;
        change.row = *row;
        break;
    }
    case RecordChange::Kind::Swap: {
        const auto row = in.row();
        const auto other = in.row();
        if (!row || !other)
            return std::nullopt;
        change.row = *row;
        change.otherRow = *other;
        break;
    }
    case RecordChange::Kind::Sort: {
        const auto column = in.get<quint8>();
        const auto descending = in.get<quint8>();
        const auto count = in.row();
        if (!column || !descending || !count ||
            (payload.size() - 1 - 2 - 4) / 4 < qsizetype(*count))
            return std::nullopt;
        change.column = *column;
        change.descending = *descending != 0;
        change.permutation.reserve(*count);
        for (int i = 0; i < *count; ++i) {
            const auto row = in.row();
            if (!row)
                return std::nullopt;
            change.permutation.append(qint32(*row));
        }
        break;
    }
    default:
        return std::nullopt;
    }
    if (!in.atEnd())
        return std::nullopt;
    return change;
}

QByteArray encodeHeader(const BookFingerprint& base)
{
    QByteArray out(kMagic.data(), kMagic.size());
    put<quint32>(out, kVersion);
    put<qint64>(out, base.size);
    put<qint64>(out, base.modifiedNs);
    put<quint64>(out, base.inode);
    put<quint32>(out, crc32(out));
    return out;
}

std::optional<BookFingerprint> decodeHeader(QByteArrayView bytes)
{
    if (bytes.size() != kHeaderSize || !bytes.startsWith(kMagic))
        return std::nullopt;
    Cursor in(bytes.sliced(kMagic.size()));
    const auto version = in.get<quint32>();
    BookFingerprint base;
    const auto size = in.get<qint64>();
    const auto modified = in.get<qint64>();
    const auto inode = in.get<quint64>();
    const auto checksum = in.get<quint32>();
    if (version != kVersion || !size || !modified || !inode || !checksum ||
        *checksum != crc32(bytes.first(kHeaderSize - 4)))
        return std::nullopt;
    base.size = *size;
    base.modifiedNs = *modified;
    base.inode = *inode;
    return base;
}

JournalError writeError(const AppendWriteError& error)
{
    return JournalError{JournalError::Kind::Write, error.detail};
}

} // namespace

BookFingerprint BookFingerprint::of(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return BookFingerprint{qint64(info.st_size),
                           qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                           quint64(info.st_ino)};
}

RecordJournal::RecordJournal(const QString& folder)
    : m_folder(folder), m_file(QDir(folder).filePath(kFileName.toString()))
{
}

QString RecordJournal::filePath() const
{
    return m_file.path();
}

bool RecordJournal::exists() const
{
    return QFileInfo::exists(filePath()) || QFileInfo(filePath()).isSymLink();
}

void RecordJournal::setBase(const BookFingerprint& base, QFileDevice::Permissions permissions)
{
    m_base = base;
    m_permissions = permissions;
    m_file.close();
}

QByteArray RecordJournal::encodeEntry(const RecordChange& change)
{
    QByteArray payload;
    put<quint8>(payload, quint8(change.kind));
    switch (change.kind) {
    case RecordChange::Kind::Add:
        putRecord(payload, change.record);
        break;
    case RecordChange::Kind::Change:
        put<quint32>(payload, quint32(change.row));
        putRecord(payload, change.record);
        break;
    case RecordChange::Kind::Remove:
        put<quint32>(payload, quint32(change.row));
        break;
    case RecordChange::Kind::Swap:
        put<quint32>(payload, quint32(change.row));
        put<quint32>(payload, quint32(change.otherRow));
        break;
    case RecordChange::Kind::Sort:
        put<quint8>(payload, quint8(change.column));
        put<quint8>(payload, change.descending ? 1 : 0);
        put<quint32>(payload, quint32(change.permutation.size()));
        for (const qint32 row : change.permutation)
            put<quint32>(payload, quint32(row));
        break;
    }
    QByteArray entry;
    entry.reserve(kEntryHeadSize + payload.size());
    put<quint32>(entry, quint32(payload.size()));
    put<quint32>(entry, crc32(payload));
    entry.append(payload);
    return entry;
}

std::optional<JournalError> RecordJournal::append(const RecordChange& change)
{
    return append(QList<RecordChange>{change});
}

std::optional<JournalError> RecordJournal::append(const QList<RecordChange>& changes)
{
    QByteArray bytes;
    if (!m_file.isOpen()) {
        QDir().mkpath(m_folder);
        if (const auto error = m_file.create(m_permissions))
            return writeError(*error);
        bytes = encodeHeader(m_base);
    }
    for (const RecordChange& change : changes)
        bytes.append(encodeEntry(change));
    if (const auto error = m_file.append(bytes))
        return writeError(*error);
    return std::nullopt;
}

std::optional<JournalError> RecordJournal::continueAfter(const JournalReadResult& read)
{
    m_base = read.base;
    if (const auto error = m_file.openAfter(read.wholeBytes))
        return writeError(*error);
    return std::nullopt;
}

std::optional<JournalError> RecordJournal::remove()
{
    m_file.close();
    QFile file(filePath());
    if (!exists() || file.remove())
        return std::nullopt;
    return JournalError{JournalError::Kind::Write, file.errorString()};
}

JournalSetAside RecordJournal::setAside(const QDateTime& when)
{
    m_file.close();
    const QString stem = u"log-unsaved-"_s + when.toString(u"yyyyMMdd-HHmmss"_s);
    const QDir folder(m_folder);
    QString target = folder.filePath(stem + u".journal"_s);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = folder.filePath(stem + u"-%1.journal"_s.arg(n));
    QFile file(filePath());
    if (!file.rename(target))
        return {target, JournalError{JournalError::Kind::Write, file.errorString()}};
    return {target, std::nullopt};
}

JournalReadResult RecordJournal::read(const QString& path)
{
    JournalReadResult result;
    // A FIFO or a device at the name would hold the program up at start.
    if (!QFileInfo(path).isFile()) {
        result.error = JournalError{JournalError::Kind::Read, u"not a plain file"_s};
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = JournalError{JournalError::Kind::Read, file.errorString()};
        return result;
    }
    const qint64 size = file.size();
    const auto base = decodeHeader(file.read(kHeaderSize));
    if (!base) {
        result.error = JournalError{JournalError::Kind::NotJournal,
                                    u"no journal header in its first %1 bytes"_s.arg(kHeaderSize)};
        return result;
    }
    result.base = *base;
    qint64 at = kHeaderSize;
    while (at < size) {
        const QByteArray head = file.read(kEntryHeadSize);
        if (head.size() != kEntryHeadSize)
            break;
        const quint32 length = qFromLittleEndian<quint32>(head.constData());
        const quint32 checksum = qFromLittleEndian<quint32>(head.constData() + 4);
        // The length is believed only as far as the file and the entry limit go, so a damaged
        // one never makes the reader allocate more than the file holds.
        if (qint64(length) > kMaxEntryBytes || qint64(length) > size - at - kEntryHeadSize)
            break;
        const QByteArray payload = file.read(length);
        if (payload.size() != qsizetype(length) || crc32(payload) != checksum)
            break;
        auto change = decodePayload(payload);
        if (!change)
            break;
        result.changes.append(std::move(*change));
        at += kEntryHeadSize + length;
    }
    result.wholeBytes = at;
    result.cut = at < size;
    return result;
}

} // namespace torvanu
