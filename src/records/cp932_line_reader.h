#pragma once

#include "storage/byte_digest.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

class QIODevice;

namespace torvanu {

// Reads a code page 932 text file line by line, decoding a large run of whole lines at a
// time: CR and LF never occur inside a Shift_JIS character, so a run that ends at a line end
// decodes on its own, and the file is never held whole, neither as bytes nor as text.
// A line ends at CR LF, a lone LF or a lone CR. Each line comes with its bytes, so that a
// writer can put back bytes the code page has several forms for, or that did not decode.
class Cp932LineReader
{
public:
    struct Line
    {
        QByteArrayView bytes;      // without the line end
        QByteArrayView terminator; // "\r\n", "\n", "\r", or empty on a last unended line
        QStringView text;          // without the line end
        bool clean = true;         // every byte decoded
    };

    static constexpr qsizetype kDefaultChunkSize = qsizetype(1) << 20;

    explicit Cp932LineReader(QIODevice& device, qsizetype chunkSize = kDefaultChunkSize);

    // Whether the converter for code page 932 exists on this system at all.
    bool isValid() const { return m_decoder.isValid(); }

    // The views stay valid until the next call. False at the end or on a read error.
    bool next(Line& line);
    // The text of the line next() just gave, as a string of its own. The line that ends a run
    // hands over the run's text without a copy (a record with a 50 MB remark is then held
    // once, not twice); line.text is not to be used afterwards.
    QString takeText(const Line& line);

    bool hasReadError() const { return m_readError; }
    // Of every byte read so far: the whole file's once next() has returned false without error.
    ByteDigest::Value digest() const { return m_digest.value(); }
    bool decodedCleanly() const { return m_clean; }

    // A line decoded on its own. Bytes that do not decode come out as U+FFFD, never as a
    // character the code page could write back, so such a text can only ever be written
    // through its original bytes.
    static QString decodeLine(QByteArrayView bytes, QByteArrayView terminator, bool* clean);

private:
    bool fillChunk();

    QIODevice& m_device;
    qsizetype m_chunkSize;
    QStringDecoder m_decoder;
    QByteArray m_pending; // bytes read past the last whole line
    QByteArray m_chunk;   // whole lines
    QString m_chunkText;  // their text, when the whole run decoded cleanly
    QString m_lineText;   // the current line's text, when the run did not
    bool m_chunkClean = true;
    qsizetype m_bytePos = 0;
    qsizetype m_textPos = 0;
    bool m_atEnd = false;
    bool m_readError = false;
    bool m_clean = true;
    ByteDigest m_digest;
};

} // namespace torvanu
