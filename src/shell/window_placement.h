#pragma once

#include <QRect>

class QWidget;

namespace torvanu {

// Where a window's frame of the given size goes beside the anchor's frame, inside the
// available area: the side with room for all of it, else the spot that covers the least of
// the anchor (right, left, below, above on a tie).
QRect placeBeside(const QRect& anchor, const QSize& frame, const QRect& available);

// The frame moved, as little as it takes, into the available area; a frame larger than the
// area keeps its top left corner in it.
QRect keepInside(const QRect& frame, const QRect& available);

// Moves a window that is not shown yet beside the anchor window, on the anchor's screen.
void moveBeside(QWidget* window, const QWidget* anchor);

// Moves a window that is not shown yet a step down and right of another one, as a window
// manager cascades, but inside the available area of that window's screen.
void moveCascaded(QWidget* window, const QWidget* previous);

} // namespace torvanu
