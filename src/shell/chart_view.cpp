#include "chart_view.h"

#include "views/charts/chart_painter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace torvanu {

namespace {

constexpr int kHitRadius = 6;

} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ChartView::setData(ChartData data)
{
    m_data = std::move(data);
    update();
}

std::optional<int> ChartView::pointAt(const QPoint& pixel) const
{
    const ChartPainter painter(m_data, font());
    return m_data.kind == ChartData::Kind::Bars ? painter.barAt(pixel, rect())
                                                : painter.pointAt(pixel, rect(), kHitRadius);
}

QString ChartView::toolTipAt(const QPoint& pixel) const
{
    if (!m_toolTip)
        return {};
    const std::optional<int> index = pointAt(pixel);
    return index ? m_toolTip(*index) : QString();
}

QImage ChartView::image(const ChartCaptions& captions) const
{
    const qreal ratio = devicePixelRatioF();
    const ChartPainter painter(m_data, font());
    const QSize size = painter.captionedSize(this->size());
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter onImage(&image);
    painter.paint(onImage, QRect(QPoint(0, 0), size), captions);
    return image;
}

QSize ChartView::sizeHint() const
{
    return {480, 240};
}

QSize ChartView::minimumSizeHint() const
{
    return {240, 140};
}

bool ChartView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

void ChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (const std::optional<int> index = pointAt(event->position().toPoint()))
            emit pointClicked(*index);
    }
    QWidget::mousePressEvent(event);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ChartPainter(m_data, font()).paint(painter, rect());
}

} // namespace torvanu
