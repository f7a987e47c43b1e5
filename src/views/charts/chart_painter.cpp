#include "chart_painter.h"

#include "views/charts/line_thinning.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace torvanu {

namespace {

constexpr int kGap = 6;
constexpr int kTickLength = 4;
constexpr int kPointRadius = 3;
constexpr double kBarShare = 0.7; // of each bar's slot; the rest is space between bars
// A hairline: Qt draws thousands of segments of one several times faster than it strokes a
// wider pen, which matters for a 4-hour track painted at every resize.
constexpr int kLineWidth = 0;
constexpr double kLeastStep = 0.5; // pixels
constexpr int kLegendLine = 16;    // the length of a series' sample line in the legend

const QColor kAxisColour(0x40, 0x40, 0x40);
const QColor kGridColour(0xe0, 0xe0, 0xe0);
const QColor kPointColour(0x1f, 0x5f, 0xbf);
const QColor kStepColour(0xd0, 0x40, 0x20);
const QColor kBarColour(0x5a, 0x8f, 0xc8);
const QColor kReferenceColour(0xc0, 0x20, 0x20);

int widestLabel(const QFontMetrics& metrics, const std::vector<ChartTick>& ticks)
{
    int widest = 0;
    for (const ChartTick& tick : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(tick.label));
    return widest;
}

double fraction(double value, const ChartAxis& axis)
{
    const double span = axis.max - axis.min;
    if (!(span > 0.0) || !std::isfinite(span))
        return 0.5;
    return (value - axis.min) / span;
}

} // namespace

QRect ChartPainter::plotArea(const QRect& area) const
{
    const QFontMetrics metrics(m_font);
    const int left = widestLabel(metrics, m_data.y.ticks) + kTickLength + 2 * kGap;
    const int bottom = metrics.height() + kTickLength + 2 * kGap;
    int right = std::max(kGap * 2, metrics.horizontalAdvance(m_data.referenceLabel) + kGap);
    if (m_data.y2)
        right = std::max(right, widestLabel(metrics, m_data.y2->ticks) + kTickLength + 2 * kGap);
    // Lines name their series in a row above the plot.
    const int top = m_data.kind == ChartData::Kind::Lines ? metrics.height() + 2 * kGap
                                                          : metrics.height() / 2 + kGap;
    return area.adjusted(left, top, -right, -bottom);
}

QPointF ChartPainter::toPixel(const QPointF& value, const QRectF& plot) const
{
    return toPixel(value, plot, m_data.y);
}

QPointF ChartPainter::toPixel(const QPointF& value, const QRectF& plot, const ChartAxis& y) const
{
    const double fx = fraction(value.x(), m_data.x);
    double fy = fraction(value.y(), y);
    if (!y.reversed)
        fy = 1.0 - fy;
    return {plot.left() + fx * plot.width(), plot.top() + fy * plot.height()};
}

bool ChartPainter::empty() const
{
    if (m_data.kind != ChartData::Kind::Lines)
        return m_data.points.empty();
    return std::all_of(m_data.series.begin(), m_data.series.end(),
                       [](const ChartSeries& series) { return series.points.empty(); });
}

std::vector<int> ChartPainter::drawnPoints(const QRect& area) const
{
    const QRect plot = plotArea(area);
    const int columns = std::max(plot.width(), 1);
    std::vector<int> best(static_cast<std::size_t>(columns), -1);
    std::vector<double> bestY(static_cast<std::size_t>(columns), 0.0);
    for (int i = 0; i < static_cast<int>(m_data.points.size()); ++i) {
        const QPointF pixel = toPixel(m_data.points[i], plot);
        if (!std::isfinite(pixel.x()) || !std::isfinite(pixel.y()))
            continue;
        const int column =
            std::clamp(static_cast<int>(std::floor(pixel.x())) - plot.left(), 0, columns - 1);
        auto& slot = best[static_cast<std::size_t>(column)];
        if (slot < 0 || pixel.y() < bestY[static_cast<std::size_t>(column)]) {
            slot = i;
            bestY[static_cast<std::size_t>(column)] = pixel.y();
        }
    }
    std::vector<int> drawn;
    for (const int index : best) {
        if (index >= 0)
            drawn.push_back(index);
    }
    return drawn;
}

std::optional<int> ChartPainter::pointAt(const QPoint& pixel, const QRect& area, int radius) const
{
    const QRect plot = plotArea(area);
    std::optional<int> nearest;
    double nearestDistance = static_cast<double>(radius) * radius;
    for (const int index : drawnPoints(area)) {
        const QPointF at = toPixel(m_data.points[index], plot);
        const double dx = at.x() - pixel.x();
        const double dy = at.y() - pixel.y();
        const double distance = dx * dx + dy * dy;
        if (distance <= nearestDistance) {
            nearestDistance = distance;
            nearest = index;
        }
    }
    return nearest;
}

QRectF ChartPainter::barRect(int index, const QRectF& plot) const
{
    const double slot = plot.width() / std::max<double>(1.0, m_data.points.size());
    const double left = plot.left() + slot * index + slot * (1.0 - kBarShare) / 2.0;
    const QPointF top = toPixel({0.0, m_data.points[index].y()}, plot);
    const QPointF base = toPixel({0.0, std::max(m_data.y.min, 0.0)}, plot);
    return QRectF(QPointF(left, std::min(top.y(), base.y())),
                  QPointF(left + slot * kBarShare, std::max(top.y(), base.y())));
}

std::optional<int> ChartPainter::barAt(const QPoint& pixel, const QRect& area) const
{
    const QRect plot = plotArea(area);
    for (int i = 0; i < static_cast<int>(m_data.points.size()); ++i) {
        const QRectF bar = barRect(i, plot);
        if (pixel.x() >= bar.left() && pixel.x() <= bar.right() && pixel.y() >= plot.top() &&
            pixel.y() <= plot.bottom())
            return i;
    }
    return std::nullopt;
}

void ChartPainter::paint(QPainter& painter, const QRect& area) const
{
    painter.save();
    painter.setFont(m_font);
    painter.fillRect(area, Qt::white);
    const QRect plot = plotArea(area);
    if (empty()) {
        painter.setPen(kAxisColour);
        painter.drawText(area, Qt::AlignCenter, m_data.emptyText);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintAxes(painter, plot);
    if (m_data.kind == ChartData::Kind::Scatter)
        paintScatter(painter, area, plot);
    else if (m_data.kind == ChartData::Kind::Bars)
        paintBars(painter, plot);
    else
        paintLines(painter, plot);
    paintReference(painter, plot);
    painter.restore();
}

QSize ChartPainter::captionedSize(const QSize& chart) const
{
    QFont titleFont = m_font;
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).height() + 2 * kGap;
    const int line = QFontMetrics(m_font).height() + kGap;
    return chart + QSize(0, title + 2 * line);
}

void ChartPainter::paint(QPainter& painter, const QRect& area, const ChartCaptions& captions) const
{
    QFont titleFont = m_font;
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).height() + 2 * kGap;
    const int line = QFontMetrics(m_font).height() + kGap;
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(kAxisColour);
    painter.setFont(titleFont);
    painter.drawText(QRect(area.left(), area.top(), area.width(), title), Qt::AlignCenter,
                     captions.title);
    painter.setFont(m_font);
    painter.drawText(QRect(area.left() + kGap, area.top() + title, area.width() - kGap, line),
                     Qt::AlignLeft | Qt::AlignVCenter, captions.yLabel);
    const QRect chart = area.adjusted(0, title + line, 0, -line);
    painter.drawText(QRect(area.left(), chart.bottom() + 1, area.width(), line),
                     Qt::AlignHCenter | Qt::AlignTop, captions.xLabel);
    painter.restore();
    paint(painter, chart);
}

void ChartPainter::paintAxes(QPainter& painter, const QRect& plot) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    for (const ChartTick& tick : m_data.y.ticks) {
        const double y = toPixel({m_data.x.min, tick.value}, plot).y();
        painter.setPen(kGridColour);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kAxisColour);
        painter.drawLine(QPointF(plot.left() - kTickLength, y), QPointF(plot.left(), y));
        const QRectF label(0, y - metrics.height() / 2.0, plot.left() - kTickLength - kGap,
                           metrics.height());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    const bool bars = m_data.kind == ChartData::Kind::Bars;
    painter.setPen(kAxisColour);
    if (bars) {
        for (int i = 0; i < static_cast<int>(m_data.barLabels.size()) &&
                        i < static_cast<int>(m_data.points.size());
             ++i) {
            const QRectF bar = barRect(i, plot);
            const QRectF label(bar.center().x() - bar.width(), plot.bottom() + kTickLength,
                               bar.width() * 2, metrics.height() + kGap);
            painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, m_data.barLabels[i]);
        }
    } else {
        for (const ChartTick& tick : m_data.x.ticks) {
            const double x = toPixel({tick.value, m_data.y.min}, plot).x();
            if (m_data.kind == ChartData::Kind::Lines) {
                painter.setPen(kGridColour);
                painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
                painter.setPen(kAxisColour);
            }
            painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
            const int width = metrics.horizontalAdvance(tick.label);
            painter.drawText(
                QPointF(x - width / 2.0, plot.bottom() + kTickLength + kGap / 2 + metrics.ascent()),
                tick.label);
        }
    }
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    if (m_data.y2)
        paintRightAxis(painter, plot);
}

void ChartPainter::paintRightAxis(QPainter& painter, const QRect& plot) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(kAxisColour);
    for (const ChartTick& tick : m_data.y2->ticks) {
        const double y = toPixel({m_data.x.min, tick.value}, plot, *m_data.y2).y();
        painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + kTickLength, y));
        painter.drawText(QPointF(plot.right() + kTickLength + kGap,
                                 y - metrics.height() / 2.0 + metrics.ascent()),
                         tick.label);
    }
    painter.drawLine(plot.bottomRight(), plot.topRight());
}

void ChartPainter::paintLines(QPainter& painter, const QRect& plot) const
{
    painter.setBrush(Qt::NoBrush);
    const QFontMetrics metrics = painter.fontMetrics();
    int legend = plot.left();
    const double legendY = plot.top() - kGap - metrics.height() / 2.0;
    for (const ChartSeries& series : m_data.series) {
        const ChartAxis& axis = series.rightAxis && m_data.y2 ? *m_data.y2 : m_data.y;
        QPainterPath path;
        bool broken = true;
        for (const QPointF& point :
             thinLine(series.points, m_data.x.min, m_data.x.max, std::max(plot.width(), 1))) {
            if (!std::isfinite(point.y())) {
                broken = true;
                continue;
            }
            const QPointF pixel = toPixel(point, plot, axis);
            if (broken) {
                path.moveTo(pixel);
            } else {
                // A point within half a pixel of the last adds nothing to see, only to stroke.
                const QPointF step = pixel - path.currentPosition();
                if (std::abs(step.x()) < kLeastStep && std::abs(step.y()) < kLeastStep)
                    continue;
                path.lineTo(pixel);
            }
            broken = false;
        }
        painter.setPen(QPen(series.colour, kLineWidth));
        painter.drawPath(path);
        if (series.name.isEmpty())
            continue;
        painter.drawLine(QPointF(legend, legendY), QPointF(legend + kLegendLine, legendY));
        legend += kLegendLine + kGap / 2;
        painter.setPen(kAxisColour);
        painter.drawText(QPointF(legend, legendY - metrics.height() / 2.0 + metrics.ascent()),
                         series.name);
        legend += metrics.horizontalAdvance(series.name) + 2 * kGap;
    }
}

void ChartPainter::paintScatter(QPainter& painter, const QRect& area, const QRect& plot) const
{
    if (!m_data.stepLine.empty()) {
        QPainterPath path;
        QPointF previous = toPixel(m_data.stepLine.front(), plot);
        path.moveTo(previous);
        for (std::size_t i = 1; i < m_data.stepLine.size(); ++i) {
            const QPointF next = toPixel(m_data.stepLine[i], plot);
            path.lineTo(next.x(), previous.y());
            path.lineTo(next);
            previous = next;
        }
        path.lineTo(plot.right(), previous.y());
        painter.setPen(QPen(kStepColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.setPen(QPen(kPointColour.darker(), 1));
    painter.setBrush(kPointColour);
    for (const int index : drawnPoints(area))
        painter.drawEllipse(toPixel(m_data.points[index], plot), kPointRadius, kPointRadius);
}

void ChartPainter::paintBars(QPainter& painter, const QRect& plot) const
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBarColour);
    for (int i = 0; i < static_cast<int>(m_data.points.size()); ++i)
        painter.drawRect(barRect(i, plot));
}

void ChartPainter::paintReference(QPainter& painter, const QRect& plot) const
{
    if (!m_data.referenceLine)
        return;
    const double y = toPixel({m_data.x.min, *m_data.referenceLine}, plot).y();
    painter.setPen(QPen(kReferenceColour, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    if (!m_data.referenceLabel.isEmpty()) {
        painter.drawText(
            QPointF(plot.right() + kGap / 2.0, y + painter.fontMetrics().ascent() / 2.0),
            m_data.referenceLabel);
    }
}

} // namespace torvanu
