// FIT, two ways, chosen by the first byte (a real FIT file starts with an even one):
//
// - even: the bytes themselves, which must give an error or sound activities;
// - odd: the rest describes an activity and how to write it; the test encoder writes it and
//   the reader must give back exactly what was written.

#include "activity/fit_reader.h"
#include "activity_properties.h"
#include "fit_encoder.h"

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;

namespace {

class Bytes
{
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint32_t next(int count = 1)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | (m_pos < m_size ? m_data[m_pos++] : 0);
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void roundTrip(Bytes in)
{
    const std::uint32_t flags = in.next();
    const test::FitWriteOptions options{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0,
                                        (flags & 8) != 0 ? 12 : 14};
    test::FitActivitySpec spec;
    // Half the time a date, half the time a count from the watch's start.
    spec.start = (flags & 16) != 0 ? 0x1000'0000 + (in.next(3) << 4) : in.next(3);
    spec.sport = static_cast<std::uint8_t>(in.next() % 20);
    const std::uint32_t records = in.next() % 64;
    std::uint32_t time = spec.start;
    std::uint32_t distance = 0;
    for (std::uint32_t i = 0; i < records; ++i) {
        spec.records.push_back({time, distance});
        time += in.next() % 40;
        distance += in.next(2);
    }
    const std::uint32_t span = time - spec.start;
    const std::uint32_t laps = in.next() % 4;
    for (std::uint32_t i = 0; i < laps; ++i) {
        const std::uint32_t offset = span * i / std::max<std::uint32_t>(laps, 1);
        spec.laps.push_back({spec.start + offset, in.next(2), in.next(2), in.next(3)});
    }
    spec.elapsedMs = span * 1000 + in.next(2) % 1000;
    spec.timerMs = spec.elapsedMs - in.next(2) % (spec.elapsedMs + 1);
    spec.distanceCm = distance + in.next(2);

    const ActivityReadResult result = readFit(test::encodeFitActivity(spec, options));
    fuzz::requireSound(result);
    require(!result.error && result.activities.size() == 1, "the written file reads");
    const Activity& read = result.activities.front();
    if (spec.start < kFitFirstDate)
        require(read.start.sinceDeviceStart == spec.start, "start as written");
    else
        require(read.start.utc.toSecsSinceEpoch() ==
                    static_cast<qint64>(spec.start) + static_cast<qint64>(kFitEpochUnixSeconds),
                "start as written");
    require(read.elapsed == spec.elapsedMs / 1000.0 && read.timer == spec.timerMs / 1000.0 &&
                read.distance == spec.distanceCm / 100.0,
            "totals as written");
    require(read.laps.size() == static_cast<qsizetype>(spec.laps.size()), "every lap read");
    for (std::size_t i = 0; i < spec.laps.size(); ++i) {
        const Lap& lap = read.laps[static_cast<qsizetype>(i)];
        require(lap.start == spec.laps[i].start - spec.start &&
                    lap.elapsed == spec.laps[i].elapsedMs / 1000.0 &&
                    lap.timer == spec.laps[i].timerMs / 1000.0 &&
                    lap.distance == spec.laps[i].distanceCm / 100.0,
                "lap as written");
    }
    require(read.track.size() == spec.records.size(), "every record read");
    for (std::size_t i = 0; i < spec.records.size(); ++i)
        require(read.track[i].time == spec.records[i].time - spec.start &&
                    read.track[i].distance == spec.records[i].distanceCm / 100.0,
                "record as written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 0 && (data[0] & 1) != 0) {
        roundTrip(Bytes(data + 1, size - 1));
        return 0;
    }
    fuzz::requireSound(readFit(QByteArrayView(data, static_cast<qsizetype>(size))));
    return 0;
}
