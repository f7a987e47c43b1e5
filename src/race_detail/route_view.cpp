#include "race_detail/route_view.h"

#include "views/race_detail/course_painter.h"

#include <QPainter>

namespace torvanu {

RouteView::RouteView(CourseMap map, QWidget* parent) : QWidget(parent), m_map(std::move(map))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage RouteView::image(const QSize& size) const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    CoursePainter(m_map, font()).paint(painter, QRect(QPoint(0, 0), size));
    return image;
}

QSize RouteView::sizeHint() const
{
    return {360, 320};
}

QSize RouteView::minimumSizeHint() const
{
    return {200, 160};
}

void RouteView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    CoursePainter(m_map, font()).paint(painter, rect());
}

} // namespace torvanu
