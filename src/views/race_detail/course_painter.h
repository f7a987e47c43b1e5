#pragma once

#include "views/race_detail/course_map.h"

#include <QFont>
#include <QRect>

class QPainter;

namespace torvanu {

// Paints a course with QPainter on any device, the window's and a saved picture's alike: the
// line coloured by pace, start, finish and the 5 km marks, north, a scale bar and the pace
// ramp's legend.
class CoursePainter
{
public:
    CoursePainter(const CourseMap& map, const QFont& font) : m_map(map), m_font(font) {}

    void paint(QPainter& painter, const QRect& area) const;

    // Where the course itself is drawn inside area, clear of the scale bar and the legend.
    QRectF courseArea(const QRect& area) const;

private:
    void paintLine(QPainter& painter, const QTransform& toPixel) const;
    void paintMarks(QPainter& painter, const QTransform& toPixel) const;
    void paintScaleBar(QPainter& painter, const QRect& area, const QTransform& toPixel) const;
    void paintLegend(QPainter& painter, const QRect& area) const;
    void paintNorth(QPainter& painter, const QRect& area) const;

    const CourseMap& m_map;
    QFont m_font;
};

} // namespace torvanu
