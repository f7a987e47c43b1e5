#include "drag_bar.h"

#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace torvanu {

DragBar::DragBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"Picture4"_s);
    setCursor(Qt::SizeVerCursor);
    setAttribute(Qt::WA_StyledBackground);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Mid);
}

void DragBar::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), qRound(event->position().y()));
}

} // namespace torvanu
