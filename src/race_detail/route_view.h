#pragma once

#include "views/race_detail/course_map.h"

#include <QImage>
#include <QWidget>

namespace torvanu {

// The course of a race, drawn from its positions alone: no map and no network.
class RouteView : public QWidget
{
    Q_OBJECT

public:
    explicit RouteView(CourseMap map, QWidget* parent = nullptr);

    const CourseMap& map() const { return m_map; }

    // The course as the widget shows it now, at size.
    QImage image(const QSize& size) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CourseMap m_map;
};

} // namespace torvanu
