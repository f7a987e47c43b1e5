#include "fit_encoder.h"

namespace torvanu::test {

namespace {

constexpr std::uint8_t kEnum = 0x00;
constexpr std::uint8_t kUint32 = 0x86;
constexpr std::uint8_t kSint32 = 0x85;
constexpr std::uint8_t kByte = 0x0D;

constexpr std::uint16_t kSession = 18;
constexpr std::uint16_t kLap = 19;
constexpr std::uint16_t kRecord = 20;

enum Local : std::uint8_t
{
    CompressedRecord = 0,
    Record = 4,
    Lap = 5,
    Session = 6,
};

} // namespace

void FitEncoder::integer(std::uint64_t value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        m_data.append(static_cast<char>((value >> shift) & 0xFF));
    }
}

void FitEncoder::define(std::uint8_t local, std::uint16_t message, const std::vector<Field>& fields,
                        const std::vector<std::uint8_t>& developerSizes)
{
    m_data.append(static_cast<char>(0x40 | (developerSizes.empty() ? 0 : 0x20) | local));
    m_data.append('\0');
    m_data.append(static_cast<char>(m_bigEndian ? 1 : 0));
    integer(message, 2, m_bigEndian);
    m_data.append(static_cast<char>(fields.size()));
    for (const Field& field : fields) {
        m_data.append(static_cast<char>(field.number));
        m_data.append(static_cast<char>(field.size));
        m_data.append(static_cast<char>(field.baseType));
    }
    if (!developerSizes.empty()) {
        m_data.append(static_cast<char>(developerSizes.size()));
        for (std::size_t i = 0; i < developerSizes.size(); ++i) {
            m_data.append(static_cast<char>(i));
            m_data.append(static_cast<char>(developerSizes[i]));
            m_data.append('\0');
        }
    }
    m_definitions[local] = {fields, developerSizes};
}

void FitEncoder::values(std::uint8_t local, const std::vector<std::uint64_t>& values)
{
    const Definition& definition = m_definitions[local];
    for (std::size_t i = 0; i < definition.fields.size(); ++i) {
        const Field& field = definition.fields[i];
        const bool byteArray = (field.baseType & 0x1F) == (kByte & 0x1F);
        integer(i < values.size() ? values[i] : 0, field.size, m_bigEndian && !byteArray);
    }
    for (const std::uint8_t size : definition.developerSizes)
        m_data.append(QByteArray(size, '\x5A'));
}

void FitEncoder::write(std::uint8_t local, const std::vector<std::uint64_t>& values)
{
    m_data.append(static_cast<char>(local));
    this->values(local, values);
}

void FitEncoder::writeCompressed(std::uint8_t local, std::uint8_t timeOffset,
                                 const std::vector<std::uint64_t>& values)
{
    m_data.append(static_cast<char>(0x80 | (local << 5) | (timeOffset & 0x1F)));
    this->values(local, values);
}

QByteArray FitEncoder::file(int headerSize) const
{
    QByteArray out;
    out.append(static_cast<char>(headerSize));
    out.append('\x20');        // protocol 2.0
    out.append("\x08\x08", 2); // profile 20.56
    const auto size = static_cast<std::uint32_t>(m_data.size());
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    out.append(".FIT", 4);
    if (headerSize == 14) {
        const std::uint16_t crc = fitChecksum(out);
        out.append(static_cast<char>(crc & 0xFF));
        out.append(static_cast<char>(crc >> 8));
    }
    out += m_data;
    const std::uint16_t crc = fitChecksum(out);
    out.append(static_cast<char>(crc & 0xFF));
    out.append(static_cast<char>(crc >> 8));
    return out;
}

// Bit by bit, unlike the reader's table, so that the two are not the same code twice.
std::uint16_t fitChecksum(const QByteArray& bytes)
{
    std::uint16_t crc = 0;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

QByteArray encodeFitActivities(const std::vector<FitActivityContent>& activities,
                               const FitWriteOptions& options)
{
    FitEncoder out(options.bigEndian);
    const std::vector<std::uint8_t> developer =
        options.developerFields ? std::vector<std::uint8_t>{1, 4} : std::vector<std::uint8_t>{};
    out.define(Record, kRecord, {{253, kUint32, 4}, {5, kUint32, 4}, {0, kSint32, 4}}, developer);
    if (options.compressedTimestamps)
        out.define(CompressedRecord, kRecord, {{5, kUint32, 4}, {0, kSint32, 4}}, developer);
    out.define(
        Lap, kLap,
        {{253, kUint32, 4}, {2, kUint32, 4}, {7, kUint32, 4}, {8, kUint32, 4}, {9, kUint32, 4}});
    out.define(Session, kSession,
               {{253, kUint32, 4},
                {2, kUint32, 4},
                {7, kUint32, 4},
                {8, kUint32, 4},
                {9, kUint32, 4},
                {5, kEnum, 1}});
    // Latitude left invalid: the distance field alone must carry the distance.
    constexpr std::uint64_t noLatitude = 0x7FFF'FFFF;
    std::uint32_t last = 0;
    bool haveLast = false;
    for (const FitActivityContent& activity : activities) {
        for (const FitActivityContent::Record& record : activity.records) {
            if (options.compressedTimestamps && haveLast && record.time >= last &&
                record.time - last < 32) {
                out.writeCompressed(CompressedRecord, static_cast<std::uint8_t>(record.time & 0x1F),
                                    {record.distanceCm, noLatitude});
            } else {
                out.write(Record, {record.time, record.distanceCm, noLatitude});
            }
            last = record.time;
            haveLast = true;
        }
        for (const FitActivityContent::Lap& lap : activity.laps) {
            out.write(Lap, {lap.start + lap.elapsedMs / 1000, lap.start, lap.elapsedMs, lap.timerMs,
                            lap.distanceCm});
            last = lap.start + lap.elapsedMs / 1000;
        }
        const std::uint32_t end = activity.start + activity.elapsedMs / 1000;
        out.write(Session, {end, activity.start, activity.elapsedMs, activity.timerMs,
                            activity.distanceCm, activity.sport});
        last = end;
    }
    return out.file(options.headerSize);
}

QByteArray encodeFitActivity(const FitActivityContent& activity, const FitWriteOptions& options)
{
    return encodeFitActivities({activity}, options);
}

} // namespace torvanu::test
