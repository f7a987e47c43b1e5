#pragma once

#include "views/charts/chart_data.h"

#include <QFont>
#include <QRect>

#include <optional>
#include <vector>

class QPainter;

namespace torvanu {

// Paints every chart of the program with QPainter: a scatter of points with a step line, bars
// with a horizontal reference line, or lines on one or two scales, on axes with labelled
// ticks. The same painter draws
// on the screen and into an image, so a saved picture shows what the window shows.
class ChartPainter
{
public:
    ChartPainter(const ChartData& data, const QFont& font) : m_data(data), m_font(font) {}

    void paint(QPainter& painter, const QRect& area) const;

    // The chart with a title above it and its axes named; the chart itself keeps the size it
    // has in the window, area being that much larger (see captionedSize).
    void paint(QPainter& painter, const QRect& area, const ChartCaptions& captions) const;
    QSize captionedSize(const QSize& chart) const;

    // Where the axes meet the data, inside area.
    QRect plotArea(const QRect& area) const;
    QPointF toPixel(const QPointF& value, const QRectF& plot) const;

    // The points that are drawn: at most one per pixel column of the plot, the best placed
    // (the highest) of those that fall into it, so a book of any size paints in the same
    // time. Indices into ChartData::points, left to right.
    std::vector<int> drawnPoints(const QRect& area) const;

    // The drawn point nearest to pixel within radius, if any.
    std::optional<int> pointAt(const QPoint& pixel, const QRect& area, int radius) const;
    // The bar under pixel, if any.
    std::optional<int> barAt(const QPoint& pixel, const QRect& area) const;

private:
    void paintAxes(QPainter& painter, const QRect& plot) const;
    void paintScatter(QPainter& painter, const QRect& area, const QRect& plot) const;
    void paintBars(QPainter& painter, const QRect& plot) const;
    void paintLines(QPainter& painter, const QRect& plot) const;
    void paintRightAxis(QPainter& painter, const QRect& plot) const;
    QPointF toPixel(const QPointF& value, const QRectF& plot, const ChartAxis& y) const;
    bool empty() const;
    void paintReference(QPainter& painter, const QRect& plot) const;
    QRectF barRect(int index, const QRectF& plot) const;

    const ChartData& m_data;
    QFont m_font;
};

} // namespace torvanu
