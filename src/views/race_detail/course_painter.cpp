#include "views/race_detail/course_painter.h"

#include "analysis/time_text.h"
#include "storage/text_bridge.h"
#include "views/race_detail/race_detail_texts.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kGap = 6;
constexpr double kLineWidth = 3;
constexpr int kColourSteps = 16;       // the ramp in steps: a run of one colour is one polyline
constexpr std::size_t kStretches = 16; // of the track, each drawn over the one before
constexpr double kLeastStep = 4;       // pixels between the points kept of one run
constexpr double kMarkRadius = 5;
constexpr double kEndRadius = 6;
constexpr int kLegendWidth = 90;
constexpr int kLegendHeight = 8;

const QColor kTextColour(0x40, 0x40, 0x40);
const QColor kStartColour(0x20, 0xa0, 0x40);
const QColor kFinishColour(0x20, 0x20, 0x20);

} // namespace

QRectF CoursePainter::courseArea(const QRect& area) const
{
    const int line = QFontMetrics(m_font).height();
    // Room above for the legend, below for the scale bar, its length and north.
    return QRectF(area).adjusted(kGap + kEndRadius, line + 2 * kGap, -(kGap + kEndRadius),
                                 -(2 * line + 3 * kGap));
}

void CoursePainter::paint(QPainter& painter, const QRect& area) const
{
    painter.save();
    painter.setFont(m_font);
    painter.fillRect(area, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QTransform toPixel = courseTransform(m_map.bounds, courseArea(area));
    paintLine(painter, toPixel);
    paintMarks(painter, toPixel);
    paintScaleBar(painter, area, toPixel);
    paintLegend(painter, area);
    paintNorth(painter, area);
    painter.restore();
}

void CoursePainter::paintLine(QPainter& painter, const QTransform& toPixel) const
{
    // One path per colour of the ramp, each stroked once: a pace that changes every minute
    // would otherwise make thousands of short strokes, each paying for a pen of its own. The
    // track is taken in stretches, each drawn over the one before, so that where a course
    // passes a place twice (laps, out and back) the later passage shows, not the fastest.
    std::array<QPainterPath, kColourSteps + 1> paths;
    const auto stroke = [&] {
        for (std::size_t colour = 0; colour < paths.size(); ++colour) {
            if (paths[colour].isEmpty())
                continue;
            painter.setPen(QPen(paceColour(static_cast<double>(colour) / kColourSteps), kLineWidth,
                                Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
            painter.drawPath(paths[colour]);
            paths[colour].clear();
        }
    };
    painter.setBrush(Qt::NoBrush);
    const std::size_t count = m_map.points.size();
    std::size_t stretch = 0;
    QPolygonF run;
    int runColour = -1;
    const auto flush = [&] {
        if (run.size() > 1) {
            QPainterPath& path = paths[static_cast<std::size_t>(runColour)];
            path.moveTo(run.front());
            for (qsizetype k = 1; k < run.size(); ++k)
                path.lineTo(run[k]);
        }
        run.clear();
    };
    for (std::size_t i = 0; i < m_map.points.size(); ++i) {
        const QPointF& point = m_map.points[i];
        if (!std::isfinite(point.x())) {
            flush(); // no fix: the line breaks here
            runColour = -1;
            continue;
        }
        const QPointF pixel = toPixel.map(point);
        const int colour = static_cast<int>(std::lround(m_map.speed[i] * kColourSteps));
        if (const std::size_t at = i * kStretches / count; at != stretch) {
            if (!run.isEmpty())
                run.append(pixel);
            flush();
            stroke();
            stretch = at;
            runColour = -1;
        }
        if (colour != runColour) {
            // The new colour starts where the old one ends, so that the line stays whole.
            if (!run.isEmpty())
                run.append(pixel);
            flush();
            runColour = colour;
            run.append(pixel);
            continue;
        }
        const QPointF step = pixel - run.back();
        if (std::abs(step.x()) + std::abs(step.y()) >= kLeastStep || i + 1 == m_map.points.size())
            run.append(pixel);
    }
    flush();
    stroke();
}

void CoursePainter::paintMarks(QPainter& painter, const QTransform& toPixel) const
{
    const QFontMetrics metrics(m_font);
    const auto labelled = [&](const CourseMark& mark, const QColor& fill, double radius,
                              bool below) {
        const QPointF at = toPixel.map(mark.at);
        painter.setPen(QPen(kFinishColour, 1.5));
        painter.setBrush(fill);
        painter.drawEllipse(at, radius, radius);
        painter.setPen(kTextColour);
        const double y = below ? at.y() + radius + metrics.ascent() : at.y() - radius;
        painter.drawText(QPointF(at.x() + radius + 2, y), mark.label);
    };
    for (const CourseMark& mark : m_map.marks)
        labelled(mark, Qt::white, kMarkRadius, false);
    // A loop ends where it began: the finish's name goes below the start's, not over it.
    const QPointF start = toPixel.map(m_map.start.at);
    const QPointF finish = toPixel.map(m_map.finish.at);
    const bool together = QLineF(start, finish).length() < 1.5 * metrics.height();
    labelled(m_map.finish, kFinishColour, kEndRadius, together);
    labelled(m_map.start, kStartColour, kEndRadius, false);
}

void CoursePainter::paintScaleBar(QPainter& painter, const QRect& area,
                                  const QTransform& toPixel) const
{
    const QFontMetrics metrics(m_font);
    const double length = toPixel.map(QLineF(0, 0, m_map.scaleBarMetres, 0)).length();
    const double y = area.bottom() - kGap - metrics.height() / 2.0;
    const double x = area.left() + kGap;
    painter.setPen(QPen(kTextColour, 2));
    painter.drawLine(QPointF(x, y), QPointF(x + length, y));
    painter.drawLine(QPointF(x, y - 4), QPointF(x, y + 4));
    painter.drawLine(QPointF(x + length, y - 4), QPointF(x + length, y + 4));
    painter.drawText(QPointF(x, y - 6), scaleBarText(m_map.scaleBarMetres));
}

void CoursePainter::paintLegend(QPainter& painter, const QRect& area) const
{
    if (!(m_map.slowPace > 0))
        return;
    const QFontMetrics metrics(m_font);
    const QString slow = kSlowEnd.toString() + u' ' + toQString(timeText(m_map.slowPace));
    const QString fast = toQString(timeText(m_map.fastPace)) + u' ' + kFastEnd.toString();
    // Top left, where neither north nor the scale bar is, however narrow the area.
    const double y = area.top() + kGap + metrics.height() / 2.0;
    const double left = area.left() + kGap + metrics.horizontalAdvance(slow) + kGap;
    const QRectF ramp(left, y - kLegendHeight / 2.0, kLegendWidth, kLegendHeight);
    QLinearGradient gradient(ramp.topLeft(), ramp.topRight());
    for (int step = 0; step <= 4; ++step)
        gradient.setColorAt(step / 4.0, paceColour(step / 4.0));
    painter.setPen(Qt::NoPen);
    painter.fillRect(ramp, gradient);
    painter.setPen(kTextColour);
    const double baseline = y - metrics.height() / 2.0 + metrics.ascent();
    painter.drawText(QPointF(ramp.left() - kGap - metrics.horizontalAdvance(slow), baseline), slow);
    painter.drawText(QPointF(ramp.right() + kGap, baseline), fast);
}

void CoursePainter::paintNorth(QPainter& painter, const QRect& area) const
{
    const QFontMetrics metrics(m_font);
    const QString north = u"N"_s;
    const double x = area.right() - kGap - metrics.horizontalAdvance(north);
    // Bottom right, across from the scale bar: the legend takes the top.
    const double top = area.bottom() - kGap - metrics.height();
    painter.setPen(kTextColour);
    painter.drawText(QPointF(x, top + metrics.ascent()), north);
    painter.setPen(QPen(kTextColour, 1.5));
    painter.drawLine(QPointF(x - kGap, top + metrics.height()), QPointF(x - kGap, top));
    painter.drawLine(QPointF(x - kGap, top), QPointF(x - kGap - 3, top + 5));
    painter.drawLine(QPointF(x - kGap, top), QPointF(x - kGap + 3, top + 5));
}

} // namespace torvanu
