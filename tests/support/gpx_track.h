#pragma once

#include <QByteArray>
#include <QList>

namespace torvanu::test {

// A track of points every 100 m northwards along the prime meridian, 30 s apart from noon UTC
// plus firstSecond, so that the day is the same in every time zone a test may run in. An
// empty type writes no <type>; untimed points make a planned route. With channels, each point
// has an elevation (a hill of 30 m at the half) and heart rate and cadence in Garmin's extension.
QByteArray gpxTrack(int points, const QByteArray& type = {}, int firstSecond = 0, bool timed = true,
                    bool channels = false);

// The same track, its n-th 100 m taking secondsPer100m[n] seconds.
QByteArray gpxRun(const QList<int>& secondsPer100m);

// A GPX 1.1 file around tracks.
QByteArray gpxFile(const QByteArray& tracks);

} // namespace torvanu::test
