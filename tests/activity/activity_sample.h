#pragma once

#include "activity/activity.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace torvanu::test {

// A file under tests/activity/data, such as "gpx/route.gpx". A missing one is a broken
// checkout, not a finding about the reader, so it ends the run.
inline QByteArray activitySample(const QString& path)
{
    QFile file(QStringLiteral(TORVANU_ACTIVITY_DATA "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(path));
    return file.readAll();
}

// Whether every channel is either empty or exactly as long as the track.
inline bool channelsFitTrack(const Activity& activity)
{
    const std::size_t points = activity.track.size();
    const TrackChannels& c = activity.channels;
    const auto fits = [points](std::size_t size) { return size == 0 || size == points; };
    return fits(c.altitude.size()) && fits(c.heartRate.size()) && fits(c.cadence.size()) &&
           fits(c.position.size());
}

} // namespace torvanu::test
