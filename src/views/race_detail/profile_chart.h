#pragma once

#include "activity/activity.h"
#include "views/charts/chart_data.h"

#include <QString>

namespace torvanu {

// Elevation (left scale) and heart rate (right scale) over the distance in km, with a grid
// line at the km marks.
struct ProfileChart
{
    ChartData chart; // without series when the file has neither channel
    QString note;    // one line on what the file lacks; empty when it has both
};

ProfileChart profileChart(const Activity& activity);

} // namespace torvanu
