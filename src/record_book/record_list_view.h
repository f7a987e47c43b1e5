#pragma once

#include <QTreeView>

namespace torvanu {

// The record list as the user sees it: a report of seven columns, one selected row at most,
// no editing in place. Header clicks, button presses and double clicks are handed to the
// record book, which decides what they do.
class RecordListView : public QTreeView
{
    Q_OBJECT

public:
    explicit RecordListView(QWidget* parent);

    void setModel(QAbstractItemModel* model) override;

signals:
    void columnClicked(int column);
    void mouseDown(Qt::MouseButton button);
    void doubleClickedAnywhere();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace torvanu
