#pragma once

#include "history/book_match.h"

#include <QAbstractTableModel>
#include <QList>
#include <QTimeZone>

namespace torvanu {

// The activities a scan found, one row each, with the box that ticks them for the book. The
// display role gives the texts, the sort role the values they are sorted by.
class HistoryTable : public QAbstractTableModel
{
public:
    enum Column
    {
        Take,
        Date,
        SportColumn,
        Distance,
        Time,
        Pace,
        OfficialClass,
        Name,
        State,
        ColumnCount
    };
    static constexpr int kSortRole = Qt::UserRole + 1;

    explicit HistoryTable(QObject* parent = nullptr);

    // root: what the paths of a folder's files start with, left out where a path is shown.
    void setRows(QList<FoundRow> rows, const QTimeZone& zone, const QString& root = {});
    const QList<FoundRow>& rows() const { return m_rows; }
    bool isTicked(int row) const { return m_ticked.at(row); }
    void setTicked(int row, bool ticked);
    // Whether the row can become a record at all: read, dated, timed.
    bool canTake(int row) const { return m_takeable.at(row); }
    QList<FoundActivity> tickedActivities() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QString text(int row, int column) const;
    QVariant sortValue(int row, int column) const;

    QList<FoundRow> m_rows;
    QList<bool> m_ticked;
    QList<bool> m_takeable;
    QTimeZone m_zone;
    QString m_root;
};

} // namespace torvanu
