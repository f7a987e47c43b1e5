#include "race_detail/detail_picture.h"

#include "race_detail/route_view.h"
#include "shell/chart_view.h"
#include "views/race_detail/race_detail_texts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace torvanu {

namespace {

constexpr int kGap = 6;
constexpr int kLeastCourseWidth = 320;

ChartCaptions paceCaptions()
{
    return {kPaceFrame.toString(), kDistanceAxis.toString(), kPaceAxis.toString()};
}

ChartCaptions profileCaptions()
{
    return {kProfileFrame.toString(), kDistanceAxis.toString(), {}};
}

} // namespace

QImage detailPicture(const ChartView& pace, const ChartView* profile, const RouteView* route)
{
    std::vector<QImage> charts{pace.image(paceCaptions())};
    if (profile)
        charts.push_back(profile->image(profileCaptions()));
    int width = 0;
    int height = 0;
    for (const QImage& chart : charts) {
        const QSize size = chart.deviceIndependentSize().toSize();
        width = std::max(width, size.width());
        height += size.height();
    }

    QFont titleFont = pace.font();
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).height() + 2 * kGap;
    QImage course;
    if (route) {
        const int side = std::max(kLeastCourseWidth, route->width());
        course = route->image(QSize(side, std::max(height - title, 1)));
    }
    const int courseWidth = route ? static_cast<int>(course.deviceIndependentSize().width()) : 0;

    const qreal ratio = pace.devicePixelRatioF();
    const QSize size(width + courseWidth, height);
    QImage picture(size * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    int top = 0;
    for (const QImage& chart : charts) {
        painter.drawImage(QPoint(0, top), chart);
        top += static_cast<int>(chart.deviceIndependentSize().height());
    }
    if (route) {
        painter.setFont(titleFont);
        painter.setPen(QColor(0x40, 0x40, 0x40));
        painter.drawText(QRect(width, 0, courseWidth, title), Qt::AlignCenter,
                         kCourseFrame.toString());
        painter.drawImage(QPoint(width, title), course);
    }
    return picture;
}

} // namespace torvanu
