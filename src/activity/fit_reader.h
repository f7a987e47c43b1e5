#pragma once

#include "activity/activity.h"

#include <QByteArrayView>

#include <cstddef>

namespace torvanu {

// FIT times count from this moment, in seconds since 1970-01-01T00:00:00Z.
constexpr double kFitEpochUnixSeconds = 631'065'600;

// FIT times below this count from the watch's own start, not from the FIT epoch.
constexpr quint32 kFitFirstDate = 0x1000'0000;

// A record takes five bytes of a file and several times that in memory: past this many
// (a record a second for three weeks), a file is refused rather than fill the memory. Laps
// count with the records, and so does every record a session shares with another.
constexpr std::size_t kMaxFitRecords = kMaxActivityPoints;

// One or more FIT files one after another: their sessions, laps and records.
ActivityReadResult readFit(QByteArrayView bytes);

// The checksum that guards a FIT header and a whole FIT file.
quint16 fitCrc(QByteArrayView bytes, quint16 crc = 0);

} // namespace torvanu
