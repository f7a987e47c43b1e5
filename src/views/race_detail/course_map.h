#pragma once

#include "activity/activity.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <optional>
#include <vector>

namespace torvanu {

struct CourseMark
{
    QPointF at; // metres east and north, as CourseMap::points
    QString label;
};

// The course from the positions of a track, as the window draws it: an equirectangular
// projection about the mean latitude, in metres east and north of the mean position. Over a
// race's few tens of km it is true to a fraction of a percent, and needs no map.
struct CourseMap
{
    std::vector<QPointF> points; // one per track point; NaN where the point has no fix
    // Per point, how fast the stretch from it to the next was run: 0 at the slow end of the
    // colour ramp, 1 at the fast end.
    std::vector<float> speed;
    double slowPace = 0; // seconds per km at the ends of the ramp
    double fastPace = 0;
    QRectF bounds; // of the points with a fix
    double scaleBarMetres = 0;
    CourseMark start;
    CourseMark finish;
    std::vector<CourseMark> marks; // every 5 km passed before the finish, with a fix there
};

// Nothing when no point of the track has a fix.
std::optional<CourseMap> courseMap(const Activity& activity);

// A round length for the scale bar of a course extent metres across: 1, 2 or 5 times a power
// of ten, and at most a quarter of the extent, so the bar never dominates the drawing.
double scaleBarMetres(double extent);
QString scaleBarText(double metres); // in km: "0.5km", "2km"

// Places bounds (metres, north up) in the middle of area (pixels, y down) at the one scale
// that fits it whole: a course keeps its shape whatever the widget's shape.
QTransform courseTransform(const QRectF& bounds, const QRectF& area);

// The colour ramp of the course, from slow (0: blue) to fast (1: red).
QColor paceColour(double speed);

} // namespace torvanu
