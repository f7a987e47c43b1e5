#include "activity/gzip_data.h"

#include "activity/huge_pages.h"

#include <zlib.h>

#include <algorithm>

namespace torvanu {

namespace {

constexpr int kGzipWindow = 15 + 16; // the largest window, and a gzip header only

// A gzip member ends with the size of its data (modulo 4 GiB): for the usual file of one
// member, the whole of it, so that the data is written once without being moved. Only a
// guess: a crafted file may say anything there, and the buffer grows or stops as it must.
qsizetype firstSize(QByteArrayView bytes, qsizetype room)
{
    constexpr qsizetype smallest = 64 * 1024;
    if (bytes.size() < 4)
        return std::min(room, smallest);
    const auto* end = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size());
    const qsizetype stated = qsizetype{end[-4]} | qsizetype{end[-3]} << 8 |
                             qsizetype{end[-2]} << 16 | qsizetype{end[-1]} << 24;
    // Deflate makes at most 1,032 bytes of one: a size past that is not believed.
    constexpr qsizetype deflateRatio = 1032;
    const qsizetype possible = std::min(room, bytes.size() * deflateRatio);
    return std::clamp(stated + 1, std::min(possible, smallest), possible);
}

Inflated failed(ActivityError::Kind kind)
{
    return {{}, kind};
}

} // namespace

bool isGzip(QByteArrayView bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F &&
           static_cast<unsigned char>(bytes[1]) == 0x8B;
}

Inflated inflateGzip(QByteArrayView bytes, qsizetype limit)
{
    using Kind = ActivityError::Kind;
    z_stream stream{};
    if (inflateInit2(&stream, kGzipWindow) != Z_OK)
        return failed(Kind::GzipDamaged);
    // One byte of room past the limit tells a file that reaches it from one that passes it.
    const qsizetype room = limit + 1;
    QByteArray out(firstSize(bytes, room), Qt::Uninitialized);
    preferHugePages(out.data(), static_cast<std::size_t>(out.size()));
    qsizetype produced = 0;
    qsizetype consumed = 0;
    int status = Z_OK;
    while (true) {
        if (produced == out.size()) {
            if (out.size() >= room)
                break;
            // The stated size was wrong: the rest may be anything up to the limit, so room for
            // all of it is set aside at once rather than moving the data at every doubling.
            out.resize(room);
            preferHugePages(out.data() + produced, static_cast<std::size_t>(out.size() - produced));
        }
        // zlib counts in 32 bits; a step takes at most 1 GiB of either side.
        constexpr qsizetype step = 1 << 30;
        const qsizetype inputStep = std::min(step, bytes.size() - consumed);
        const qsizetype outputStep = std::min(step, out.size() - produced);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + consumed));
        stream.avail_in = static_cast<uInt>(inputStep);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        stream.avail_out = static_cast<uInt>(outputStep);
        status = inflate(&stream, Z_NO_FLUSH);
        consumed += inputStep - static_cast<qsizetype>(stream.avail_in);
        produced += outputStep - static_cast<qsizetype>(stream.avail_out);
        if (status == Z_STREAM_END) {
            // Another member may follow, as `cat a.gz b.gz` makes; anything else is padding.
            if (!isGzip(bytes.sliced(consumed)) || inflateReset(&stream) != Z_OK)
                break;
            continue;
        }
        if (status == Z_BUF_ERROR && stream.avail_out > 0) {
            status = Z_DATA_ERROR; // the input ends in the middle of a member
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR)
            break;
    }
    inflateEnd(&stream);
    if (produced > limit)
        return failed(Kind::GzipTooLarge);
    if (status != Z_STREAM_END)
        return failed(Kind::GzipDamaged);
    out.truncate(produced);
    return {out, std::nullopt};
}

} // namespace torvanu
