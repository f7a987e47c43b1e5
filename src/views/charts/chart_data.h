#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

namespace torvanu {

struct ChartTick
{
    double value = 0.0;
    QString label;
};

struct ChartAxis
{
    double min = 0.0;
    double max = 1.0;
    bool reversed = false; // the y axis of a time: faster (smaller) is higher
    std::vector<ChartTick> ticks;
};

// A line through its points, left to right, broken where y is NaN (a stretch without a
// sample); measured on the left axis, or on the right one.
struct ChartSeries
{
    QString name; // in the legend above the plot
    QColor colour;
    bool rightAxis = false;
    std::vector<QPointF> points;
};

// Everything a chart shows, as values; the painter decides nothing about the content.
struct ChartData
{
    enum class Kind
    {
        Scatter, // points, with an optional step line through stepLine
        Bars,    // one bar per point: x is its place (0, 1, …), y its height
        Lines,   // the series, with a vertical grid line at every x tick
    };

    Kind kind = Kind::Scatter;
    ChartAxis x;
    ChartAxis y;
    std::vector<QPointF> points;
    std::vector<QPointF> stepLine;       // scatter: holds each value until the next point
    std::vector<QString> barLabels;      // bars: one below each bar
    std::optional<double> referenceLine; // a horizontal line at this y
    QString referenceLabel;
    QString emptyText;               // shown when there are no points
    std::vector<ChartSeries> series; // lines
    std::optional<ChartAxis> y2;     // lines: the scale on the right
};

// The words a saved picture carries around the chart, which the window says with its frame
// and the tick labels alone: a picture leaves the window.
struct ChartCaptions
{
    QString title;
    QString xLabel; // under the x axis
    QString yLabel; // above the y axis, with its unit
};

} // namespace torvanu
