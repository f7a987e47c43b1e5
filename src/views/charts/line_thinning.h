#pragma once

#include <QPointF>

#include <span>
#include <vector>

namespace torvanu {

// The points of a line worth drawing when x from xMin to xMax spans columns pixel columns: in
// each column its first, lowest, highest and last point, in their order, so that a 4-hour
// track at a point a second draws at most four points a pixel and keeps every peak and
// trough. A point whose y is NaN breaks the line; a run of them is kept as one break.
std::vector<QPointF> thinLine(std::span<const QPointF> points, double xMin, double xMax,
                              int columns);

} // namespace torvanu
