#pragma once

#include <QWidget>

namespace torvanu {

// The thin bar under the record list. Dragging it with the left button moves the window's
// lower edge.
class DragBar : public QWidget
{
    Q_OBJECT

public:
    explicit DragBar(QWidget* parent);

signals:
    // The pointer moved over the bar; y is its distance from the bar's top, in pixels.
    void mouseMoved(Qt::MouseButtons buttons, int y);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace torvanu
