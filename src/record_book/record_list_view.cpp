#include "record_list_view.h"

#include "records/record_columns.h"

#include <QHeaderView>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace torvanu {

RecordListView::RecordListView(QWidget* parent) : QTreeView(parent)
{
    setObjectName(u"ListView1"_s);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Every row is one line high, which keeps a list of a hundred thousand races quick.
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(false);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &RecordListView::columnClicked);
}

void RecordListView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    for (int column = 0; column < RecordColumnCount; ++column)
        header()->resizeSection(column, kRecordColumns[column].width);
}

void RecordListView::mousePressEvent(QMouseEvent* event)
{
    // The press selects the row under the pointer first, so a right-button press acts on
    // the row the user pointed at.
    QTreeView::mousePressEvent(event);
    emit mouseDown(event->button());
}

void RecordListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClickedAnywhere();
}

} // namespace torvanu
