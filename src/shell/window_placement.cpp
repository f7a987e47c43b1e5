#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>

namespace torvanu {

namespace {

// A window manager's own cascade step, roughly: enough to see the title bar beneath.
constexpr int kCascadeStep = 32;

qint64 area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// The decoration around a window not shown yet is unknown; a shown window of the same
// program on the same desktop wears the same one.
QMargins frameMargins(const QWidget* shown)
{
    const QRect frame = shown->frameGeometry();
    const QRect client = shown->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QRect availableAround(const QWidget* widget)
{
    const QScreen* screen = widget->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

QRect keepInside(const QRect& frame, const QRect& available)
{
    if (available.isEmpty())
        return frame;
    QRect moved = frame;
    moved.moveLeft(
        std::max(available.left(), std::min(frame.left(), available.right() - frame.width() + 1)));
    moved.moveTop(
        std::max(available.top(), std::min(frame.top(), available.bottom() - frame.height() + 1)));
    return moved;
}

QRect placeBeside(const QRect& anchor, const QSize& frame, const QRect& available)
{
    const std::array<QPoint, 4> corners{
        QPoint(anchor.right() + 1, anchor.top()),              // right
        QPoint(anchor.left() - frame.width(), anchor.top()),   // left
        QPoint(anchor.left(), anchor.bottom() + 1),            // below
        QPoint(anchor.left(), anchor.top() - frame.height())}; // above
    QRect best;
    qint64 bestCover = -1;
    for (const QPoint& corner : corners) {
        const QRect candidate = keepInside(QRect(corner, frame), available);
        const qint64 cover = area(candidate.intersected(anchor));
        if (bestCover < 0 || cover < bestCover) {
            best = candidate;
            bestCover = cover;
        }
    }
    return best;
}

void moveBeside(QWidget* window, const QWidget* anchor)
{
    const QMargins margins = frameMargins(anchor);
    const QSize frame = window->size().grownBy(margins);
    window->move(placeBeside(anchor->frameGeometry(), frame, availableAround(anchor)).topLeft());
}

void moveCascaded(QWidget* window, const QWidget* previous)
{
    const QMargins margins = frameMargins(previous);
    const QRect frame(previous->frameGeometry().topLeft() + QPoint(kCascadeStep, kCascadeStep),
                      window->size().grownBy(margins));
    window->move(keepInside(frame, availableAround(previous)).topLeft());
}

} // namespace torvanu
