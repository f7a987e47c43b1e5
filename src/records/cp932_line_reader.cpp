#include "records/cp932_line_reader.h"

#include "storage/code_page.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace torvanu {

namespace {

using namespace Qt::StringLiterals;

constexpr char kCr = '\r';
constexpr char kLf = '\n';
// The converter writes U+001A where a byte sequence is illegal, and code page 932 can encode
// that character; U+FFFD it cannot, so a changed text is refused on writing, not altered.
constexpr QChar kIllegalSubstitute = u'\x1a';
constexpr QChar kReplacement = QChar::ReplacementCharacter;

bool isLineEnd(char c)
{
    return c == kCr || c == kLf;
}

// Length up to the first CR or LF. Looks for LF first, then for a CR before it: both are
// vectorised searches, and lines end in CR LF or LF far more often than in a lone CR.
qsizetype lineLength(QByteArrayView bytes)
{
    const void* lf = std::memchr(bytes.data(), kLf, static_cast<std::size_t>(bytes.size()));
    const qsizetype limit = lf ? static_cast<const char*>(lf) - bytes.data() : bytes.size();
    const void* cr = std::memchr(bytes.data(), kCr, static_cast<std::size_t>(limit));
    return cr ? static_cast<const char*>(cr) - bytes.data() : limit;
}

qsizetype lineLength(QStringView text)
{
    const qsizetype lf = text.indexOf(u'\n');
    const qsizetype limit = lf < 0 ? text.size() : lf;
    const qsizetype cr = text.first(limit).indexOf(u'\r');
    return cr < 0 ? limit : cr;
}

// Index of the first byte after the last complete line end in bytes, or -1. A CR as the very
// last byte is not complete before the end of input: an LF may follow in the next read.
qsizetype lastLineBoundary(QByteArrayView bytes, bool atEnd)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        if (bytes[i] == kLf)
            return i + 1;
        if (bytes[i] == kCr && (atEnd || i + 1 < bytes.size()))
            return i + 1;
    }
    return -1;
}

} // namespace

Cp932LineReader::Cp932LineReader(QIODevice& device, qsizetype chunkSize)
    : m_device(device), m_chunkSize(chunkSize),
      m_decoder(kCodePage932, QStringConverter::Flag::Stateless)
{
}

QString Cp932LineReader::decodeLine(QByteArrayView bytes, QByteArrayView terminator, bool* clean)
{
    // The line end goes through the converter too: a lead byte just before it then comes out
    // as an illegal sequence instead of vanishing as an unfinished character.
    const QByteArrayView end = terminator.isEmpty() ? QByteArrayView("\n") : terminator;
    QByteArray input;
    input.reserve(bytes.size() + end.size());
    input.append(bytes).append(end);
    QStringDecoder decoder(kCodePage932, QStringConverter::Flag::Stateless);
    QString text = decoder(input);
    const bool ok = !decoder.hasError() && text.endsWith(QString::fromLatin1(end));
    if (text.endsWith(QString::fromLatin1(end)))
        text.chop(end.size());
    if (!ok) {
        // The byte 0x7F is a character of its own (never half of a two-byte one) that the
        // converter reads as U+001A, the very character it also puts in place of bytes it
        // cannot read. Where both occur, the pieces between the 0x7F bytes are read on their
        // own, so that only the real substitutes become U+FFFD.
        const qsizetype del = bytes.indexOf('\x7f');
        if (del >= 0)
            text = decodeLine(bytes.first(del), {}, nullptr) + kIllegalSubstitute +
                   decodeLine(bytes.sliced(del + 1), terminator, nullptr);
        else
            text.replace(kIllegalSubstitute, kReplacement);
    }
    if (clean)
        *clean = ok;
    return text;
}

bool Cp932LineReader::fillChunk()
{
    m_chunk.clear();
    m_chunkText.clear();
    m_bytePos = 0;
    m_textPos = 0;
    if (m_readError || (m_atEnd && m_pending.isEmpty()))
        return false;

    qsizetype boundary = -1;
    // Where a line end may still be found: bytes before it were looked at by an earlier pass
    // and held none (but a CR at their very end, which waited for the next read). Searching
    // only the new bytes keeps a line of 50 MB linear instead of quadratic in its length.
    qsizetype searchFrom = std::max<qsizetype>(0, m_pending.size() - 1);
    while (true) {
        if (!m_atEnd) {
            const qsizetype old = m_pending.size();
            // A line longer than a read: room for the rest of the file at once (the caller
            // bounds its size), or at least twice as much, so that it is not copied at every read.
            if (m_pending.capacity() < old + m_chunkSize) {
                const qsizetype rest = qsizetype(std::max<qint64>(0, m_device.bytesAvailable()));
                m_pending.reserve(std::max({2 * m_pending.capacity(), old + m_chunkSize,
                                            old > 0 ? old + rest : qsizetype(0)}));
            }
            m_pending.resize(old + m_chunkSize);
            const qint64 got = m_device.read(m_pending.data() + old, m_chunkSize);
            if (got < 0) {
                m_readError = true;
                m_pending.clear();
                return false;
            }
            m_pending.resize(old + got);
            m_digest.add(QByteArrayView(m_pending).sliced(old));
            if (got == 0)
                m_atEnd = true;
        }
        if (m_pending.isEmpty())
            return false;
        const qsizetype found =
            lastLineBoundary(QByteArrayView(m_pending).sliced(searchFrom), m_atEnd);
        boundary = found < 0 ? -1 : searchFrom + found;
        if (m_atEnd && boundary < m_pending.size())
            boundary = m_pending.size(); // a last line without a line end
        if (boundary > 0)
            break;
        searchFrom = std::max<qsizetype>(0, m_pending.size() - 1);
    }

    if (boundary == m_pending.size()) {
        m_chunk = std::move(m_pending);
        m_pending = QByteArray();
    } else {
        m_chunk = m_pending.first(boundary);
        m_pending.remove(0, boundary);
    }

    // A last line without a line end is decoded with one, so that a lead byte at the very end
    // is reported like any other illegal sequence; the extra LF is not part of the text.
    const bool unended = !isLineEnd(m_chunk.back());
    if (unended)
        m_chunk.append(kLf);
    m_chunkText = m_decoder(m_chunk);
    m_chunkClean = !m_decoder.hasError();
    if (unended) {
        m_chunk.chop(1);
        if (m_chunkClean)
            m_chunkText.chop(1);
    }
    m_decoder.resetState();
    if (!m_chunkClean)
        m_chunkText.clear(); // such a run is decoded line by line instead
    return true;
}

bool Cp932LineReader::next(Line& line)
{
    if (m_bytePos >= m_chunk.size() && !fillChunk())
        return false;

    const QByteArrayView rest = QByteArrayView(m_chunk).sliced(m_bytePos);
    const qsizetype length = lineLength(rest);
    qsizetype terminatorLength = 0;
    if (length < rest.size()) {
        terminatorLength =
            (rest[length] == kCr && length + 1 < rest.size() && rest[length + 1] == kLf) ? 2 : 1;
    }
    line.bytes = rest.first(length);
    line.terminator = rest.sliced(length, terminatorLength);
    m_bytePos += length + terminatorLength;

    if (m_chunkClean) {
        // A clean run decodes CR and LF one for one, so its text splits where its bytes do.
        const QStringView text = QStringView(m_chunkText).sliced(m_textPos);
        const qsizetype textLength = lineLength(text);
        line.text = text.first(textLength);
        line.clean = true;
        m_textPos += textLength + terminatorLength;
    } else {
        m_lineText = decodeLine(line.bytes, line.terminator, &line.clean);
        line.text = m_lineText;
        if (!line.clean)
            m_clean = false;
    }
    return true;
}

QString Cp932LineReader::takeText(const Line& line)
{
    if (!m_chunkClean) {
        // m_lineText holds this line alone and is made afresh for the next one.
        return line.text.data() == m_lineText.constData() ? std::move(m_lineText)
                                                          : line.text.toString();
    }
    if (line.text.data() != m_chunkText.constData() || m_textPos < m_chunkText.size())
        return line.text.toString();
    // The run is this one line: its text is handed over, its line end cut off in place.
    QString text = std::move(m_chunkText);
    text.truncate(line.text.size());
    m_chunkText = QString();
    return text;
}

} // namespace torvanu
