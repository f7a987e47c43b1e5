#include "storage/byte_digest.h"

#include <QHashFunctions>

#include <algorithm>

namespace torvanu {

void ByteDigest::add(QByteArrayView bytes)
{
    m_size += bytes.size();
    while (!bytes.isEmpty()) {
        if (m_block.isEmpty() && bytes.size() >= kBlockSize) {
            // Whole blocks straight from the caller's bytes, without a copy.
            m_hash = qHashBits(bytes.data(), static_cast<size_t>(kBlockSize), m_hash);
            bytes = bytes.sliced(kBlockSize);
            continue;
        }
        if (m_block.capacity() < kBlockSize)
            m_block.reserve(kBlockSize);
        const qsizetype take = std::min(bytes.size(), kBlockSize - m_block.size());
        m_block.append(bytes.first(take));
        bytes = bytes.sliced(take);
        if (m_block.size() == kBlockSize) {
            m_hash = qHashBits(m_block.constData(), static_cast<size_t>(kBlockSize), m_hash);
            m_block.truncate(0);
        }
    }
}

ByteDigest::Value ByteDigest::value() const
{
    quint64 hash = m_hash;
    if (!m_block.isEmpty())
        hash = qHashBits(m_block.constData(), static_cast<size_t>(m_block.size()), hash);
    return {m_size, hash};
}

} // namespace torvanu
