#pragma once

namespace torvanu {

// A moment on the track: seconds since the activity's start and metres covered by then.
// Times never decrease along a track and distances never shrink.
struct TrackPoint
{
    double time = 0;
    double distance = 0;
};

} // namespace torvanu
