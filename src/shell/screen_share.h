#pragma once

#include <QSize>

class QScreen;

namespace torvanu {

// The most of a screen's free area a window takes when it opens: at 150 % or 200 % a small
// screen holds fewer logical pixels than a window wants, and the rest keeps the window's
// frame and the desktop's panels in view.
inline constexpr double kLargestScreenShare = 0.9;

// The size, bounded to that share of the screen's free area; as it is without a screen.
QSize fitToScreen(const QSize& wanted, const QScreen* screen);

} // namespace torvanu
