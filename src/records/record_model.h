#pragma once

#include "records/log_line.h"
#include "records/record_columns.h"
#include "records/race_record.h"

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace torvanu {

// The record list's rows: while the program runs, the only store of the records. Rows are
// kept as their log.dat lines, so that loading hands them over without a copy and saving
// writes them as they are.
class RecordModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using enum RecordColumn;
    // On the data column's cell: the hidden path behind its mark.
    static constexpr int kDataPathRole = Qt::UserRole + 1;

    explicit RecordModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    RaceRecord record(int row) const;
    const LogLine& line(int row) const { return m_lines.at(row); }
    const QList<LogLine>& lines() const { return m_lines; }

    // The texts shown in a cell; the data column shows its mark.
    QString cellText(int row, int column) const;
    // What the list shows: a cell longer than the list can lay out quickly is cut, with a mark.
    QString shownText(int row, int column) const;

    void setRecords(QList<LogLine> lines);
    void setRecords(const QList<RaceRecord>& records);
    void appendRecord(const RaceRecord& record);
    void removeRecord(int row);
    // Columns 1 to 6 and the data path; No stays.
    void setRecord(int row, const RaceRecord& record);
    // Exchanges columns 1 to 6 and the data path; No stays with the position.
    void swapContents(int rowA, int rowB);
    // No = the 1-based position of every row.
    void renumber();

    // The caption a column has before any sort mark is added to it.
    static QString plainCaption(int column);
    QString headerCaption(int column) const;
    void setHeaderCaption(int column, const QString& caption);

    // Stable; compares the cell texts as text, never as numbers, in the collation of the
    // given locale (the user's by default). Does not renumber. Returns the old row of every
    // new row.
    QList<qint32> sortByColumn(int column, Qt::SortOrder order);
    QList<qint32> sortPermutation(int column, Qt::SortOrder order) const;
    // permutation: the old row of every new row, each row once. Does not renumber.
    void reorder(const QList<qint32>& permutation);
    void setCollationLocale(const QLocale& locale) { m_collationLocale = locale; }

private:
    QList<LogLine> m_lines;
    std::array<QString, RecordColumnCount> m_captions;
    QLocale m_collationLocale;
};

} // namespace torvanu
