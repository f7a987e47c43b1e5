#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace torvanu {

// A fingerprint of a stream of bytes that does not depend on how the stream was cut: the bytes
// are hashed in blocks of a fixed size, whatever pieces they arrive in. It tells whether a file
// still holds the bytes read earlier, and whether a new book would write the same bytes again;
// it is no defence against a file made to collide on purpose, and need not be.
class ByteDigest
{
public:
    struct Value
    {
        qint64 size = 0;
        quint64 hash = 0;

        friend bool operator==(const Value&, const Value&) = default;
    };

    void add(QByteArrayView bytes);
    Value value() const;

private:
    static constexpr qsizetype kBlockSize = qsizetype(1) << 16;

    QByteArray m_block;
    quint64 m_hash = 0;
    qint64 m_size = 0;
};

} // namespace torvanu
