#pragma once

#include "views/charts/chart_data.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

namespace torvanu {

// A widget that shows one chart and explains the point or bar under the mouse.
class ChartView : public QWidget
{
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    void setData(ChartData data);
    const ChartData& data() const { return m_data; }

    // The tooltip for a point or bar, by its index into the data's points.
    void setToolTipText(std::function<QString(int index)> text) { m_toolTip = std::move(text); }
    QString toolTipAt(const QPoint& pixel) const;
    std::optional<int> pointAt(const QPoint& pixel) const;

    // The chart as the widget shows it now, at the screen's pixel density, with a title and
    // the axes named: a saved picture is read away from the window.
    QImage image(const ChartCaptions& captions) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A press on a point or a bar, by its index into the data's points.
    void pointClicked(int index);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ChartData m_data;
    std::function<QString(int)> m_toolTip;
};

} // namespace torvanu
