#pragma once

#include <QByteArray>

namespace torvanu::bench {

// A run of the given length with a record every second, as a watch writes it: position,
// distance, altitude, speed, heart rate and cadence in every record, a lap every kilometre,
// then the session. The same length always gives the same bytes.
QByteArray generateFitRun(int seconds);

// The same run as a phone app's GPX 1.1: a point every second with its time, elevation and
// heart rate in Garmin's extension.
QByteArray generateGpxRun(int seconds);

// The same run as a watch's TCX: a lap every kilometre holding its track points, each with
// its time, position, altitude, distance, heart rate and speed.
QByteArray generateTcxRun(int seconds);

} // namespace torvanu::bench
