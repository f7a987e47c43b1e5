#include "activity/fit_reader.h"

#include "activity/channel_builder.h"
#include "activity/huge_pages.h"
#include "activity/track_math.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace torvanu {

namespace {

constexpr qsizetype kShortHeaderSize = 12;
constexpr qsizetype kCrcSize = 2;

constexpr quint8 kCompressedTimestampHeader = 0x80;
constexpr quint8 kDefinitionHeader = 0x40;
constexpr quint8 kDeveloperDataFlag = 0x20;
constexpr quint8 kLocalTypeMask = 0x0F;
constexpr int kLocalTypes = 16;
constexpr quint32 kTimeOffsetMask = 0x1F;

constexpr quint16 kSessionMessage = 18;
constexpr quint16 kLapMessage = 19;
constexpr quint16 kRecordMessage = 20;

constexpr quint8 kTimestampField = 253;
constexpr quint8 kStartTimeField = 2;
constexpr quint8 kSportField = 5;
constexpr quint8 kElapsedField = 7;
constexpr quint8 kTimerField = 8;
constexpr quint8 kTotalDistanceField = 9;
constexpr quint8 kLatitudeField = 0;
constexpr quint8 kLongitudeField = 1;
constexpr quint8 kRecordDistanceField = 5;
constexpr quint8 kCompressedSpeedDistanceField = 8;
// Beside time and distance a record carries, by the FIT profile's numbers and base types:
constexpr quint8 kAltitudeField = 2;           // uint16 (0x84), scale 5, offset 500, metres
constexpr quint8 kHeartRateField = 3;          // uint8 (0x02), beats per minute
constexpr quint8 kCadenceField = 4;            // uint8 (0x02), strides per minute
constexpr quint8 kFractionalCadenceField = 53; // uint8 (0x02), scale 128, strides per minute
constexpr quint8 kEnhancedAltitudeField = 78;  // uint32 (0x86), scale 5, offset 500, metres
// What the session says of the whole climb: uint16 (0x84), metres.
constexpr quint8 kTotalAscentField = 22;
constexpr quint8 kTotalDescentField = 23;

constexpr double kTimeScale = 1000;    // elapsed and timer times are in milliseconds
constexpr double kDistanceScale = 100; // distances are in centimetres
constexpr double kCompressedDistanceScale = 16;
constexpr quint32 kCompressedDistanceMask = 0xFFF;
constexpr double kDegreesPerSemicircle = 180.0 / 2'147'483'648.0;
constexpr double kAltitudeScale = 5;
constexpr double kAltitudeOffset = 500;
constexpr double kFractionalCadenceScale = 128;

struct BaseType
{
    quint8 size;
    bool isSigned;
    bool isFloat;
    quint64 invalid;
};

// The base types by their number (the low five bits of the base type byte).
constexpr std::array<BaseType, 17> kBaseTypes = {{
    {1, false, false, 0xFF},                  // enum
    {1, true, false, 0x7F},                   // sint8
    {1, false, false, 0xFF},                  // uint8
    {2, true, false, 0x7FFF},                 // sint16
    {2, false, false, 0xFFFF},                // uint16
    {4, true, false, 0x7FFF'FFFF},            // sint32
    {4, false, false, 0xFFFF'FFFF},           // uint32
    {1, false, false, 0},                     // string
    {4, false, true, 0xFFFF'FFFF},            // float32
    {8, false, true, 0xFFFF'FFFF'FFFF'FFFF},  // float64
    {1, false, false, 0},                     // uint8z
    {2, false, false, 0},                     // uint16z
    {4, false, false, 0},                     // uint32z
    {1, false, false, 0xFF},                  // byte
    {8, true, false, 0x7FFF'FFFF'FFFF'FFFF},  // sint64
    {8, false, false, 0xFFFF'FFFF'FFFF'FFFF}, // uint64
    {8, false, false, 0},                     // uint64z
}};

// What the reader takes a field for, decided once per definition from its message and number,
// so that a data message costs a step only for the fields the reader keeps.
enum class Role : quint8
{
    Timestamp,
    StartTime, // session and lap
    Elapsed,
    Timer,
    TotalDistance,
    Sport, // session
    TotalAscent,
    TotalDescent,
    Distance, // record
    Latitude,
    Longitude,
    Altitude,
    EnhancedAltitude,
    HeartRate,
    Cadence,
    FractionalCadence,
    CompressedSpeedDistance,
};

struct FieldDefinition
{
    quint8 number = 0;
    quint8 size = 0;
    quint8 baseType = 0;
    Role role = Role::Timestamp;
    quint16 offset = 0; // bytes from the start of the data message
};

struct Definition
{
    bool defined = false;
    bool bigEndian = false;
    quint16 message = 0;
    std::vector<FieldDefinition> fields;
    qsizetype size = 0; // bytes of one data message, developer fields included
};

struct FitSession
{
    std::optional<quint32> timestamp;
    std::optional<quint32> start;
    std::optional<double> elapsed;
    std::optional<double> timer;
    std::optional<double> distance;
    std::optional<double> ascent;
    std::optional<double> descent;
    Sport sport = Sport::Unknown;
};

struct FitLap
{
    std::optional<quint32> timestamp;
    std::optional<quint32> start;
    std::optional<double> elapsed;
    std::optional<double> timer;
    std::optional<double> distance;
};

struct FitRecord
{
    quint32 timestamp = 0;
    std::optional<double> distance;
    std::optional<double> latitude;
    std::optional<double> longitude;
    float altitude = PointChannels::kNone;
    float enhancedAltitude = PointChannels::kNone; // finer, and wins over altitude
    float heartRate = PointChannels::kNone;
    float cadence = PointChannels::kNone;
    float fractionalCadence = 0;

    PointChannels channels() const
    {
        PointChannels made;
        made.altitude = std::isnan(enhancedAltitude) ? altitude : enhancedAltitude;
        made.heartRate = heartRate;
        made.cadence = (cadence + fractionalCadence) * kStepsPerStride;
        if (latitude && longitude)
            made.position = {*latitude, *longitude};
        return made;
    }
};

struct Messages
{
    std::vector<FitSession> sessions;
    std::vector<FitLap> laps;
    std::vector<FitRecord> records;
};

template <class T> quint64 load(const uchar* p)
{
    T value = 0;
    std::memcpy(&value, p, sizeof value);
    return value;
}

quint64 readUnsigned(const uchar* p, qsizetype size, bool bigEndian)
{
    if constexpr (std::endian::native == std::endian::little) {
        // The byte order of nearly every file, read a whole value at a time: a value pieced
        // together byte by byte in memory would stall the load that follows.
        if (!bigEndian) {
            switch (size) {
            case 1:
                return p[0];
            case 2:
                return load<quint16>(p);
            case 4:
                return load<quint32>(p);
            case 8:
                return load<quint64>(p);
            default:
                break;
            }
        }
    }
    quint64 value = 0;
    for (qsizetype i = 0; i < size; ++i)
        value |= quint64{p[bigEndian ? size - 1 - i : i]} << (8 * i);
    return value;
}

// A scalar field as a number; nothing for an invalid value, an array or an unknown type.
std::optional<double> fieldValue(const uchar* p, const FieldDefinition& field, bool bigEndian)
{
    const std::size_t type = field.baseType & 0x1F;
    if (type >= kBaseTypes.size() || kBaseTypes[type].size != field.size || type == 7)
        return std::nullopt;
    const BaseType& base = kBaseTypes[type];
    const quint64 raw = readUnsigned(p, field.size, bigEndian);
    if (raw == base.invalid)
        return std::nullopt;
    if (base.isFloat) {
        double value = 0;
        if (base.size == 4) {
            float f = 0;
            const auto bits = static_cast<quint32>(raw);
            std::memcpy(&f, &bits, sizeof f);
            value = f;
        } else {
            std::memcpy(&value, &raw, sizeof value);
        }
        if (!std::isfinite(value))
            return std::nullopt;
        return value;
    }
    if (base.isSigned) {
        const int shift = 64 - 8 * base.size;
        return static_cast<double>(static_cast<qint64>(raw << shift) >> shift);
    }
    return static_cast<double>(raw);
}

std::optional<quint32> timeValue(const uchar* p, const FieldDefinition& field, bool bigEndian)
{
    if ((field.baseType & 0x1F) != 6 && (field.baseType & 0x1F) != 12)
        return std::nullopt;
    const auto value = fieldValue(p, field, bigEndian);
    if (!value)
        return std::nullopt;
    return static_cast<quint32>(*value);
}

Sport fitSport(double value)
{
    switch (static_cast<int>(value)) {
    case 1:
        return Sport::Running;
    case 2:
        return Sport::Cycling;
    case 3:
        return Sport::Transition;
    case 5:
        return Sport::Swimming;
    case 11:
        return Sport::Walking;
    default:
        return Sport::Other;
    }
}

std::optional<Role> roleOf(quint16 message, const FieldDefinition& field)
{
    if (field.number == kTimestampField)
        return Role::Timestamp;
    if (message == kRecordMessage) {
        switch (field.number) {
        case kRecordDistanceField:
            return Role::Distance;
        case kLatitudeField:
            return Role::Latitude;
        case kLongitudeField:
            return Role::Longitude;
        case kAltitudeField:
            return Role::Altitude;
        case kEnhancedAltitudeField:
            return Role::EnhancedAltitude;
        case kHeartRateField:
            return Role::HeartRate;
        case kCadenceField:
            return Role::Cadence;
        case kFractionalCadenceField:
            return Role::FractionalCadence;
        case kCompressedSpeedDistanceField:
            if (field.size == 3)
                return Role::CompressedSpeedDistance;
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }
    if (message != kSessionMessage && message != kLapMessage)
        return std::nullopt;
    switch (field.number) {
    case kStartTimeField:
        return Role::StartTime;
    case kElapsedField:
        return Role::Elapsed;
    case kTimerField:
        return Role::Timer;
    case kTotalDistanceField:
        return Role::TotalDistance;
    default:
        break;
    }
    if (message != kSessionMessage)
        return std::nullopt;
    switch (field.number) {
    case kSportField:
        return Role::Sport;
    case kTotalAscentField:
        return Role::TotalAscent;
    case kTotalDescentField:
        return Role::TotalDescent;
    default:
        return std::nullopt;
    }
}

ActivityError fitError(ActivityError::Kind kind, qsizetype offset)
{
    ActivityError error = activityError(kind, ActivityFormat::Fit);
    error.offset = offset;
    return error;
}

// Decodes one FIT file from start; on success returns where the next one may begin.
class FileDecoder
{
public:
    FileDecoder(QByteArrayView bytes, Messages& out) : m_bytes(bytes), m_out(out) {}

    std::optional<ActivityError> decode(qsizetype start, qsizetype& next);

private:
    std::optional<ActivityError> definition(quint8 header, qsizetype& pos, qsizetype end);
    std::optional<ActivityError> tooMany(qsizetype pos) const;
    void data(const Definition& definition, const uchar* p, std::optional<quint32> timestamp);

    const uchar* at(qsizetype pos) const
    {
        return reinterpret_cast<const uchar*>(m_bytes.data()) + pos;
    }

    QByteArrayView m_bytes;
    Messages& m_out;
    std::array<Definition, kLocalTypes> m_definitions{};
    quint32 m_lastTimestamp = 0;
    quint32 m_compressedDistance = 0; // sixteenths of a metre, summed over rollovers
    std::optional<quint32> m_lastCompressedBits;
};

std::optional<ActivityError> FileDecoder::decode(qsizetype start, qsizetype& next)
{
    using Kind = ActivityError::Kind;
    const qsizetype available = m_bytes.size() - start;
    if (available < kShortHeaderSize)
        return fitError(available > 0 && at(start)[0] >= kShortHeaderSize ? Kind::FitTruncated
                                                                          : Kind::FitHeader,
                        start);
    const uchar* header = at(start);
    const qsizetype headerSize = header[0];
    if (headerSize < kShortHeaderSize || header[8] != '.' || header[9] != 'F' ||
        header[10] != 'I' || header[11] != 'T')
        return fitError(Kind::FitHeader, start);
    if (headerSize > available)
        return fitError(Kind::FitTruncated, start);
    if (headerSize >= kShortHeaderSize + kCrcSize) {
        // A header checksum of 0 means the writer did not compute one.
        const auto stored = static_cast<quint16>(readUnsigned(header + 12, 2, false));
        if (stored != 0 && stored != fitCrc(m_bytes.sliced(start, kShortHeaderSize)))
            return fitError(Kind::FitHeader, start);
    }
    const auto dataSize = static_cast<qsizetype>(readUnsigned(header + 4, 4, false));
    if (dataSize > available - headerSize - kCrcSize)
        return fitError(Kind::FitTruncated, start);
    const qsizetype end = start + headerSize + dataSize;
    const auto storedCrc = static_cast<quint16>(readUnsigned(at(end), 2, false));
    if (storedCrc != fitCrc(m_bytes.sliced(start, headerSize + dataSize)))
        return fitError(Kind::FitCrc, end);

    qsizetype pos = start + headerSize;
    while (pos < end) {
        const quint8 recordHeader = *at(pos);
        ++pos;
        if (recordHeader & kCompressedTimestampHeader) {
            const Definition& definition = m_definitions[(recordHeader >> 5) & 0x03];
            if (!definition.defined || definition.size > end - pos)
                return fitError(Kind::FitDamaged, pos - 1);
            const quint32 offset = recordHeader & kTimeOffsetMask;
            quint32 timestamp = (m_lastTimestamp & ~kTimeOffsetMask) + offset;
            if (offset < (m_lastTimestamp & kTimeOffsetMask))
                timestamp += kTimeOffsetMask + 1;
            m_lastTimestamp = timestamp;
            data(definition, at(pos), timestamp);
            pos += definition.size;
            if (auto error = tooMany(pos))
                return error;
        } else if (recordHeader & kDefinitionHeader) {
            if (auto error = definition(recordHeader, pos, end))
                return error;
        } else {
            const Definition& definition = m_definitions[recordHeader & kLocalTypeMask];
            if (!definition.defined || definition.size > end - pos)
                return fitError(Kind::FitDamaged, pos - 1);
            data(definition, at(pos), std::nullopt);
            pos += definition.size;
            if (auto error = tooMany(pos))
                return error;
        }
    }
    next = end + kCrcSize;
    return std::nullopt;
}

std::optional<ActivityError> FileDecoder::tooMany(qsizetype pos) const
{
    if (m_out.records.size() + m_out.laps.size() > kMaxFitRecords)
        return fitError(ActivityError::Kind::TooManyRecords, pos);
    if (m_out.sessions.size() > static_cast<std::size_t>(kMaxActivities))
        return fitError(ActivityError::Kind::TooManyActivities, pos);
    return std::nullopt;
}

std::optional<ActivityError> FileDecoder::definition(quint8 header, qsizetype& pos, qsizetype end)
{
    const qsizetype start = pos - 1;
    constexpr qsizetype fixedPart = 5;
    constexpr qsizetype fieldBytes = 3;
    if (end - pos < fixedPart)
        return fitError(ActivityError::Kind::FitDamaged, start);
    const uchar* p = at(pos);
    if (p[1] > 1)
        return fitError(ActivityError::Kind::FitDamaged, start);
    Definition made;
    made.defined = true;
    made.bigEndian = p[1] == 1;
    made.message = static_cast<quint16>(readUnsigned(p + 2, 2, made.bigEndian));
    const qsizetype fieldCount = p[4];
    pos += fixedPart;
    if (end - pos < fieldCount * fieldBytes)
        return fitError(ActivityError::Kind::FitDamaged, start);
    made.fields.reserve(static_cast<std::size_t>(fieldCount));
    for (qsizetype i = 0; i < fieldCount; ++i, pos += fieldBytes) {
        FieldDefinition field{at(pos)[0], at(pos)[1], at(pos)[2]};
        field.offset = static_cast<quint16>(made.size);
        // A field of no bytes says nothing; one the reader does not keep is only stepped over.
        if (const std::optional<Role> role = roleOf(made.message, field); role && field.size > 0) {
            field.role = *role;
            made.fields.push_back(field);
        }
        made.size += field.size;
    }
    if (header & kDeveloperDataFlag) {
        if (end - pos < 1)
            return fitError(ActivityError::Kind::FitDamaged, start);
        const qsizetype developerCount = *at(pos);
        ++pos;
        if (end - pos < developerCount * fieldBytes)
            return fitError(ActivityError::Kind::FitDamaged, start);
        // Developer fields are read past: only their sizes matter here.
        for (qsizetype i = 0; i < developerCount; ++i, pos += fieldBytes)
            made.size += at(pos)[1];
    }
    m_definitions[header & kLocalTypeMask] = std::move(made);
    return std::nullopt;
}

void FileDecoder::data(const Definition& definition, const uchar* message,
                       std::optional<quint32> timestamp)
{
    const bool big = definition.bigEndian;
    FitSession session;
    FitLap lap;
    FitRecord record;
    bool hasCompressedDistance = false;
    const bool isSession = definition.message == kSessionMessage;
    auto& start = isSession ? session.start : lap.start;
    auto& elapsed = isSession ? session.elapsed : lap.elapsed;
    auto& timer = isSession ? session.timer : lap.timer;
    auto& distance = isSession ? session.distance : lap.distance;
    const auto nonNegative = [](std::optional<double> value) {
        return value && *value >= 0 ? value : std::nullopt;
    };
    for (const FieldDefinition& field : definition.fields) {
        const uchar* p = message + field.offset;
        switch (field.role) {
        case Role::Timestamp:
            if (const auto value = timeValue(p, field, big)) {
                m_lastTimestamp = *value;
                timestamp = *value;
            }
            break;
        case Role::StartTime:
            start = timeValue(p, field, big);
            break;
        case Role::Elapsed:
            if (const auto value = nonNegative(fieldValue(p, field, big)))
                elapsed = *value / kTimeScale;
            break;
        case Role::Timer:
            if (const auto value = nonNegative(fieldValue(p, field, big)))
                timer = *value / kTimeScale;
            break;
        case Role::TotalDistance:
            if (const auto value = nonNegative(fieldValue(p, field, big)))
                distance = *value / kDistanceScale;
            break;
        case Role::Sport:
            if (const auto value = fieldValue(p, field, big))
                session.sport = fitSport(*value);
            break;
        case Role::TotalAscent:
            session.ascent = fieldValue(p, field, big);
            break;
        case Role::TotalDescent:
            session.descent = fieldValue(p, field, big);
            break;
        case Role::Distance:
            if (const auto value = fieldValue(p, field, big))
                record.distance = *value / kDistanceScale;
            break;
        case Role::Latitude:
        case Role::Longitude:
            if (const auto value = fieldValue(p, field, big))
                (field.role == Role::Latitude ? record.latitude : record.longitude) =
                    *value * kDegreesPerSemicircle;
            break;
        case Role::Altitude:
        case Role::EnhancedAltitude:
            (field.role == Role::Altitude ? record.altitude : record.enhancedAltitude) =
                static_cast<float>(sampleOf(fieldValue(p, field, big)) / kAltitudeScale -
                                   kAltitudeOffset);
            break;
        case Role::HeartRate:
            record.heartRate = heartRateOf(fieldValue(p, field, big));
            break;
        case Role::Cadence:
            record.cadence = sampleOf(fieldValue(p, field, big));
            break;
        case Role::FractionalCadence:
            if (const auto value = fieldValue(p, field, big))
                record.fractionalCadence = static_cast<float>(*value / kFractionalCadenceScale);
            break;
        case Role::CompressedSpeedDistance: {
            // Twelve bits of speed, then twelve bits of distance that roll over.
            const quint32 bits = (quint32{p[1]} >> 4) | (quint32{p[2]} << 4);
            if (m_lastCompressedBits)
                m_compressedDistance += (bits - *m_lastCompressedBits) & kCompressedDistanceMask;
            m_lastCompressedBits = bits;
            hasCompressedDistance = true;
            break;
        }
        }
    }
    if (definition.message == kSessionMessage) {
        session.timestamp = timestamp;
        m_out.sessions.push_back(session);
    } else if (definition.message == kLapMessage) {
        lap.timestamp = timestamp;
        m_out.laps.push_back(lap);
    } else if (definition.message == kRecordMessage && timestamp) {
        record.timestamp = *timestamp;
        if (!record.distance && hasCompressedDistance)
            record.distance = m_compressedDistance / kCompressedDistanceScale;
        m_out.records.push_back(record);
    }
}

ActivityStart startOf(quint32 fitTime)
{
    ActivityStart start;
    if (fitTime < kFitFirstDate)
        start.sinceDeviceStart = fitTime;
    else
        start.utc = utcFromUnixSeconds(kFitEpochUnixSeconds + fitTime);
    return start;
}

// Records and laps belong to the session whose time span holds them.
struct Span
{
    quint32 start = 0;
    quint32 end = std::numeric_limits<quint32>::max();
};

// Records or laps by their time, with their places in the file: a session finds its own by a
// binary search, so that reading a file costs no more with many sessions than with one.
struct TimeOrder
{
    std::vector<std::pair<quint32, std::uint32_t>> entries; // time, place in the file
    bool fileOrder = true; // the file gave them in time order, as watches write them

    void sort()
    {
        const auto earlier = [](const auto& a, const auto& b) { return a.first < b.first; };
        fileOrder = std::is_sorted(entries.begin(), entries.end(), earlier);
        if (!fileOrder)
            std::stable_sort(entries.begin(), entries.end(), earlier);
    }

    std::pair<std::size_t, std::size_t> range(Span span) const
    {
        const auto first =
            std::lower_bound(entries.begin(), entries.end(), span.start,
                             [](const auto& entry, quint32 time) { return entry.first < time; });
        const auto last =
            std::upper_bound(first, entries.end(), span.end,
                             [](quint32 time, const auto& entry) { return time < entry.first; });
        return {static_cast<std::size_t>(first - entries.begin()),
                static_cast<std::size_t>(last - entries.begin())};
    }

    std::size_t count(Span span) const
    {
        const auto [first, last] = range(span);
        return last - first;
    }

    // The places of those in the span, in the order of the file.
    std::vector<std::uint32_t> places(Span span) const
    {
        const auto [first, last] = range(span);
        std::vector<std::uint32_t> made;
        made.reserve(last - first);
        for (std::size_t i = first; i < last; ++i)
            made.push_back(entries[i].second);
        if (!fileOrder)
            std::sort(made.begin(), made.end());
        return made;
    }
};

TimeOrder recordOrder(const std::vector<FitRecord>& records)
{
    TimeOrder order;
    order.entries.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        order.entries.emplace_back(records[i].timestamp, static_cast<std::uint32_t>(i));
    order.sort();
    return order;
}

// A lap without its start belongs to no session.
TimeOrder lapOrder(const std::vector<FitLap>& laps)
{
    TimeOrder order;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        if (laps[i].start)
            order.entries.emplace_back(*laps[i].start, static_cast<std::uint32_t>(i));
    }
    order.sort();
    return order;
}

Span spanOf(const Messages& messages, const FitSession* session)
{
    Span span;
    if (session) {
        std::optional<quint32> start = session->start;
        if (!start && session->timestamp && session->elapsed) {
            // A session without its start ends at its timestamp.
            const double back = std::min<double>(*session->elapsed, *session->timestamp);
            start = *session->timestamp - static_cast<quint32>(back);
        }
        if (start) {
            span.start = *start;
            if (session->elapsed)
                span.end = *start + static_cast<quint32>(std::ceil(*session->elapsed));
            else if (session->timestamp && *session->timestamp >= *start)
                span.end = *session->timestamp;
        }
    } else {
        quint32 first = std::numeric_limits<quint32>::max();
        for (const FitLap& lap : messages.laps) {
            if (lap.start)
                first = std::min(first, *lap.start);
        }
        for (const FitRecord& record : messages.records)
            first = std::min(first, record.timestamp);
        span.start = first == std::numeric_limits<quint32>::max() ? 0 : first;
    }
    return span;
}

void readTrack(Activity& activity, const std::vector<FitRecord>& records,
               const std::vector<std::uint32_t>& places, Span span)
{
    std::vector<TrackPoint>& track = activity.track;
    track.reserve(places.size());
    ChannelBuilder channels(places.size());
    double distance = 0;
    const FitRecord* previous = nullptr;
    for (const std::uint32_t place : places) {
        const FitRecord& record = records[place];
        if (record.distance) {
            distance = *record.distance;
        } else if (previous && previous->latitude && previous->longitude && record.latitude &&
                   record.longitude) {
            distance += greatCircleMetres(*previous->latitude, *previous->longitude,
                                          *record.latitude, *record.longitude);
        }
        if (record.latitude && record.longitude)
            previous = &record;
        appendTrackPoint(track, static_cast<double>(record.timestamp) - span.start, distance);
        channels.append(record.channels());
    }
    activity.channels = channels.take();
}

struct Ordered
{
    const Messages& messages;
    const TimeOrder& records;
    const TimeOrder& laps;
};

Activity activityOf(const Ordered& ordered, const FitSession* session)
{
    const Messages& messages = ordered.messages;
    Activity activity;
    const Span span = spanOf(messages, session);
    if (session)
        activity.sport = session->sport;
    activity.start = startOf(span.start);
    readTrack(activity, messages.records, ordered.records.places(span), span);
    if (session) {
        activity.fileAscent = session->ascent;
        activity.fileDescent = session->descent;
    }

    double lapTimer = 0;
    double lapDistance = 0;
    for (const std::uint32_t place : ordered.laps.places(span)) {
        const FitLap& lap = messages.laps[place];
        Lap made;
        made.start = static_cast<double>(*lap.start) - span.start;
        made.elapsed = lap.elapsed.value_or(lap.timer.value_or(0));
        made.timer = lap.timer.value_or(made.elapsed);
        made.distance = lap.distance.value_or(0);
        lapTimer += made.timer;
        lapDistance += made.distance;
        activity.laps.append(made);
    }

    const double trackTime = activity.track.empty() ? 0 : activity.track.back().time;
    const double trackDistance = activity.track.empty() ? 0 : activity.track.back().distance;
    const double lapsEnd =
        activity.laps.isEmpty() ? 0 : activity.laps.back().start + activity.laps.back().elapsed;
    const std::optional<double> elapsed = session ? session->elapsed : std::nullopt;
    activity.elapsed = elapsed.value_or(std::max(trackTime, lapsEnd));
    const std::optional<double> timer = session ? session->timer : std::nullopt;
    activity.timer = timer.value_or(activity.laps.isEmpty() ? activity.elapsed : lapTimer);
    const std::optional<double> distance = session ? session->distance : std::nullopt;
    activity.distance =
        distance.value_or(activity.laps.isEmpty() ? trackDistance : std::max(lapDistance, 0.0));
    return activity;
}

} // namespace

quint16 fitCrc(QByteArrayView bytes, quint16 crc)
{
    // CRC-16 with the reflected polynomial 0xA001. A file's checksum covers all of it, and a
    // four-hour run is half a megabyte: eight bytes are taken at a time, through eight tables
    // (table k gives what a byte does to the checksum when k more bytes follow it), so that
    // the eight lookups run side by side instead of one after the other.
    static constexpr std::array<std::array<quint16, 256>, 8> tables = [] {
        std::array<std::array<quint16, 256>, 8> made{};
        for (unsigned byte = 0; byte < 256; ++byte) {
            unsigned value = byte;
            for (int bit = 0; bit < 8; ++bit)
                value = (value & 1) ? (value >> 1) ^ 0xA001 : value >> 1;
            made[0][byte] = static_cast<quint16>(value);
        }
        for (std::size_t k = 1; k < made.size(); ++k) {
            for (unsigned byte = 0; byte < 256; ++byte) {
                const quint16 before = made[k - 1][byte];
                made[k][byte] = static_cast<quint16>((before >> 8) ^ made[0][before & 0xFF]);
            }
        }
        return made;
    }();
    const auto* p = reinterpret_cast<const quint8*>(bytes.data());
    qsizetype left = bytes.size();
    for (; left >= 8; left -= 8, p += 8) {
        crc = static_cast<quint16>(tables[7][(crc ^ p[0]) & 0xFF] ^
                                   tables[6][((crc >> 8) ^ p[1]) & 0xFF] ^ tables[5][p[2]] ^
                                   tables[4][p[3]] ^ tables[3][p[4]] ^ tables[2][p[5]] ^
                                   tables[1][p[6]] ^ tables[0][p[7]]);
    }
    for (; left > 0; --left, ++p)
        crc = static_cast<quint16>((crc >> 8) ^ tables[0][(crc ^ *p) & 0xFF]);
    return crc;
}

ActivityReadResult readFit(QByteArrayView bytes)
{
    ActivityReadResult result;
    result.format = ActivityFormat::Fit;
    Messages messages;
    // No message is shorter than a byte: room for as many as the file could hold, up to the
    // limits, is set aside once, so that the lists are never moved as they grow. Only what is
    // written to takes memory, in huge pages where the system has them.
    const auto room = [&bytes](std::size_t limit) {
        return std::min(static_cast<std::size_t>(bytes.size()), limit + 1);
    };
    messages.records.reserve(room(kMaxFitRecords));
    messages.laps.reserve(room(kMaxFitRecords));
    messages.sessions.reserve(room(static_cast<std::size_t>(kMaxActivities)));
    preferHugePages(messages.records.data(), messages.records.capacity() * sizeof(FitRecord));
    preferHugePages(messages.laps.data(), messages.laps.capacity() * sizeof(FitLap));
    qsizetype pos = 0;
    do {
        FileDecoder decoder(bytes, messages);
        qsizetype next = 0;
        if (auto error = decoder.decode(pos, next)) {
            result.error = error;
            return result;
        }
        pos = next;
    } while (pos < bytes.size());

    const TimeOrder records = recordOrder(messages.records);
    const TimeOrder laps = lapOrder(messages.laps);
    const Ordered ordered{messages, records, laps};
    // Sessions whose spans overlap share records: what they would hold together is counted
    // before any is copied.
    std::size_t shared = 0;
    for (const FitSession& session : messages.sessions) {
        const Span span = spanOf(messages, &session);
        shared += records.count(span) + laps.count(span);
        if (shared > kMaxFitRecords) {
            result.error = fitError(ActivityError::Kind::TooManyRecords, 0);
            return result;
        }
    }
    if (messages.sessions.empty()) {
        if (!messages.laps.empty() || !messages.records.empty())
            result.activities.append(activityOf(ordered, nullptr));
    } else {
        for (const FitSession& session : messages.sessions)
            result.activities.append(activityOf(ordered, &session));
    }
    if (result.activities.isEmpty())
        result.error = fitError(ActivityError::Kind::NoActivity, 0);
    return result;
}

} // namespace torvanu
