#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace torvanu::test {

// Writes FIT files the way the protocol describes them, so that tests and the fuzzer can make
// files with exactly the features they want to see read back.
class FitEncoder
{
public:
    struct Field
    {
        std::uint8_t number;
        std::uint8_t baseType;
        std::uint8_t size;
    };

    explicit FitEncoder(bool bigEndian = false) : m_bigEndian(bigEndian) {}

    // Developer fields carry only their sizes: a reader skips their bytes.
    void define(std::uint8_t local, std::uint16_t message, const std::vector<Field>& fields,
                const std::vector<std::uint8_t>& developerSizes = {});
    // One value per defined field, as the raw integer the field holds; byte arrays are
    // written low byte first.
    void write(std::uint8_t local, const std::vector<std::uint64_t>& values);
    // The same with a compressed-timestamp header: local types 0 to 3 only.
    void writeCompressed(std::uint8_t local, std::uint8_t timeOffset,
                         const std::vector<std::uint64_t>& values);
    // Bytes written as they are, checksum and all, for files that must be wrong.
    void writeRaw(const QByteArray& bytes) { m_data += bytes; }

    // Header of 12 or 14 bytes, the records and the file checksum.
    QByteArray file(int headerSize = 14) const;

private:
    struct Definition
    {
        std::vector<Field> fields;
        std::vector<std::uint8_t> developerSizes;
    };

    void values(std::uint8_t local, const std::vector<std::uint64_t>& values);
    void integer(std::uint64_t value, int size, bool bigEndian);

    bool m_bigEndian;
    Definition m_definitions[16];
    QByteArray m_data;
};

std::uint16_t fitChecksum(const QByteArray& bytes);

// A whole activity as a watch writes it: records, laps, then the session.
struct FitActivityContent
{
    struct Lap
    {
        std::uint32_t start; // FIT time
        std::uint32_t elapsedMs;
        std::uint32_t timerMs;
        std::uint32_t distanceCm;
    };
    struct Record
    {
        std::uint32_t time; // FIT time
        std::uint32_t distanceCm;
    };
    std::uint32_t start = 0; // FIT time
    std::uint8_t sport = 1;
    std::uint32_t elapsedMs = 0;
    std::uint32_t timerMs = 0;
    std::uint32_t distanceCm = 0;
    std::vector<Lap> laps;
    std::vector<Record> records;
};

struct FitWriteOptions
{
    bool bigEndian = false;
    bool compressedTimestamps = false; // records close in time get the short header
    bool developerFields = false;      // every record carries two developer fields
    int headerSize = 14;
};

QByteArray encodeFitActivity(const FitActivityContent& activity, const FitWriteOptions& options);

// More than one session in one file, as a multisport watch writes them.
QByteArray encodeFitActivities(const std::vector<FitActivityContent>& activities,
                               const FitWriteOptions& options);

} // namespace torvanu::test
