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
    test::FitActivityContent written;
    // Half the time a date, half the time a count from the watch's start.
    written.start = (flags & 16) != 0 ? 0x1000'0000 + (in.next(3) << 4) : in.next(3);
    written.sport = static_cast<std::uint8_t>(in.next() % 20);
    const std::uint32_t records = in.next() % 64;
    std::uint32_t time = written.start;
    std::uint32_t distance = 0;
    for (std::uint32_t i = 0; i < records; ++i) {
        written.records.push_back({time, distance});
        time += in.next() % 40;
        distance += in.next(2);
    }
    const std::uint32_t span = time - written.start;
    const std::uint32_t laps = in.next() % 4;
    for (std::uint32_t i = 0; i < laps; ++i) {
        const std::uint32_t offset = span * i / std::max<std::uint32_t>(laps, 1);
        written.laps.push_back({written.start + offset, in.next(2), in.next(2), in.next(3)});
    }
    written.elapsedMs = span * 1000 + in.next(2) % 1000;
    written.timerMs = written.elapsedMs - in.next(2) % (written.elapsedMs + 1);
    written.distanceCm = distance + in.next(2);

    const ActivityReadResult result = readFit(test::encodeFitActivity(written, options));
    fuzz::requireSound(result);
    require(!result.error && result.activities.size() == 1, "the written file reads");
    const Activity& read = result.activities.front();
    if (written.start < kFitFirstDate)
        require(read.start.sinceDeviceStart == written.start, "start as written");
    else
        require(read.start.utc.toSecsSinceEpoch() ==
                    static_cast<qint64>(written.start) + static_cast<qint64>(kFitEpochUnixSeconds),
                "start as written");
    require(read.elapsed == written.elapsedMs / 1000.0 && read.timer == written.timerMs / 1000.0 &&
                read.distance == written.distanceCm / 100.0,
            "totals as written");
    require(read.laps.size() == static_cast<qsizetype>(written.laps.size()), "every lap read");
    for (std::size_t i = 0; i < written.laps.size(); ++i) {
        const Lap& lap = read.laps[static_cast<qsizetype>(i)];
        require(lap.start == written.laps[i].start - written.start &&
                    lap.elapsed == written.laps[i].elapsedMs / 1000.0 &&
                    lap.timer == written.laps[i].timerMs / 1000.0 &&
                    lap.distance == written.laps[i].distanceCm / 100.0,
                "lap as written");
    }
    require(read.track.size() == written.records.size(), "every record read");
    for (std::size_t i = 0; i < written.records.size(); ++i)
        require(read.track[i].time == written.records[i].time - written.start &&
                    read.track[i].distance == written.records[i].distanceCm / 100.0,
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
