#pragma once

#include <QImage>

namespace torvanu {

class ChartView;
class RouteView;

// The charts of a race, one above the other with their titles and axes named, and the course
// beside them, as one picture; a chart or course the file gives no data for is left out.
QImage detailPicture(const ChartView& pace, const ChartView* profile, const RouteView* route);

} // namespace torvanu
