#include "records/record_model.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <vector>

namespace torvanu {

namespace {

constexpr QStringView kDataMark = u"あり";
// A remark can be megabytes long; laying out such a cell at every repaint froze the window
// for minutes. The list shows its start, the row keeps (and saves) every character.
constexpr qsizetype kMaxShownCellLength = 1000;
constexpr QStringView kCutMark = u"…";

bool isValidColumn(int column)
{
    return column >= 0 && column < RecordColumnCount;
}

Qt::Alignment columnAlignment(int column)
{
    return kRecordColumns[column].alignment;
}

// The text a column is sorted by: the cell as shown.
QStringView sortText(const LogLine& line, int column)
{
    if (column == RecordModel::DataColumn)
        return line.hasData() ? kDataMark : QStringView();
    return line.field(column);
}

// Compares as the user reads: case and punctuation count, digits are text.
QCollator textCollator(const QLocale& locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

// The column's texts, each once, and for every row the index of its text.
struct DistinctTexts
{
    std::vector<QStringView> texts;
    std::vector<std::size_t> ofRow;
};

DistinctTexts distinctTexts(const QList<LogLine>& lines, int column)
{
    DistinctTexts distinct;
    distinct.ofRow.reserve(static_cast<std::size_t>(lines.size()));
    QHash<QStringView, std::size_t> indexOf;
    for (const LogLine& line : lines) {
        const QStringView text = sortText(line, column);
        auto found = indexOf.find(text);
        if (found == indexOf.end()) {
            found = indexOf.insert(text, distinct.texts.size());
            distinct.texts.push_back(text);
        }
        distinct.ofRow.push_back(*found);
    }
    return distinct;
}

// Every distinct text's place in the order, 0 first; texts the collation holds equal share a
// rank, so that their rows keep the list's order.
struct Ranks
{
    std::vector<std::size_t> ofText;
    std::size_t count = 0;
};

Ranks collationRanks(const std::vector<QStringView>& texts, const QCollator& collator,
                     Qt::SortOrder order)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QStringView text : texts)
        keys.push_back(collator.sortKey(text.toString()));
    std::vector<std::size_t> byKey(texts.size());
    std::iota(byKey.begin(), byKey.end(), std::size_t{0});
    std::sort(byKey.begin(), byKey.end(),
              [&keys](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });

    Ranks ranks;
    ranks.ofText.resize(texts.size());
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && keys[byKey[i - 1]].compare(keys[byKey[i]]) != 0)
            ++ranks.count;
        ranks.ofText[byKey[i]] = ranks.count;
    }
    ++ranks.count;
    if (order == Qt::DescendingOrder) {
        for (std::size_t& rank : ranks.ofText)
            rank = ranks.count - 1 - rank;
    }
    return ranks;
}

// The old row at every new row: a counting sort of the rows by the rank of their texts.
std::vector<std::size_t> rankOrder(const std::vector<std::size_t>& textOfRow, const Ranks& ranks)
{
    std::vector<std::size_t> start(ranks.count + 1, 0);
    for (const std::size_t text : textOfRow)
        ++start[ranks.ofText[text] + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::size_t> order(textOfRow.size());
    for (std::size_t row = 0; row < textOfRow.size(); ++row)
        order[start[ranks.ofText[textOfRow[row]]]++] = row;
    return order;
}

} // namespace

RecordModel::RecordModel(QObject* parent) : QAbstractTableModel(parent)
{
    for (int column = 0; column < RecordColumnCount; ++column)
        m_captions[column] = kRecordColumns[column].caption.toString();
}

int RecordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int RecordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RecordColumnCount;
}

QString RecordModel::cellText(int row, int column) const
{
    const LogLine& current = m_lines.at(row);
    if (column == DataColumn)
        return current.hasData() ? kDataMark.toString() : QString();
    return current.field(column).toString();
}

QString RecordModel::shownText(int row, int column) const
{
    if (column == DataColumn)
        return cellText(row, column);
    const QStringView text = m_lines.at(row).field(column);
    if (text.size() <= kMaxShownCellLength)
        return text.toString();
    // A surrogate pair is not split, so the cut never shows half a character.
    qsizetype length = kMaxShownCellLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.first(length).toString() + kCutMark.toString();
}

QVariant RecordModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shownText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(index.column()));
    case kDataPathRole:
        if (index.column() == DataColumn)
            return m_lines.at(index.row()).dataPath().toString();
        return {};
    default:
        return {};
    }
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !isValidColumn(section))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_captions[section];
    // A column's caption lines up with its cells.
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(section));
    return {};
}

bool RecordModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                int role)
{
    if (orientation != Qt::Horizontal || !isValidColumn(section) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return false;
    setHeaderCaption(section, value.toString());
    return true;
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RecordModel::sort(int column, Qt::SortOrder order)
{
    sortByColumn(column, order);
}

RaceRecord RecordModel::record(int row) const
{
    return m_lines.at(row).toRecord();
}

void RecordModel::setRecords(QList<LogLine> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

void RecordModel::setRecords(const QList<RaceRecord>& records)
{
    QList<LogLine> lines;
    lines.reserve(records.size());
    for (const RaceRecord& current : records)
        lines.append(LogLine::fromRecord(current));
    setRecords(std::move(lines));
}

void RecordModel::appendRecord(const RaceRecord& record)
{
    const int row = static_cast<int>(m_lines.size());
    beginInsertRows({}, row, row);
    m_lines.append(LogLine::fromRecord(record));
    endInsertRows();
}

void RecordModel::removeRecord(int row)
{
    Q_ASSERT(row >= 0 && row < m_lines.size());
    beginRemoveRows({}, row, row);
    m_lines.removeAt(row);
    endRemoveRows();
}

void RecordModel::setRecord(int row, const RaceRecord& record)
{
    m_lines[row].setContentsFrom(LogLine::fromRecord(record));
    emit dataChanged(index(row, DateColumn), index(row, DataColumn));
}

void RecordModel::swapContents(int rowA, int rowB)
{
    if (rowA == rowB)
        return;
    LogLine& a = m_lines[rowA];
    LogLine& b = m_lines[rowB];
    const LogLine oldA = a;
    a.setContentsFrom(b);
    b.setContentsFrom(oldA);
    emit dataChanged(index(std::min(rowA, rowB), DateColumn),
                     index(std::max(rowA, rowB), DataColumn));
}

void RecordModel::renumber()
{
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype row = 0; row < m_lines.size(); ++row) {
        if (m_lines[row].setNo(row + 1)) {
            if (first < 0)
                first = row;
            last = row;
        }
    }
    if (first >= 0)
        emit dataChanged(index(static_cast<int>(first), NoColumn),
                         index(static_cast<int>(last), NoColumn));
}

QString RecordModel::plainCaption(int column)
{
    return isValidColumn(column) ? kRecordColumns[column].caption.toString() : QString();
}

QString RecordModel::headerCaption(int column) const
{
    return isValidColumn(column) ? m_captions[column] : QString();
}

void RecordModel::setHeaderCaption(int column, const QString& caption)
{
    if (!isValidColumn(column) || m_captions[column] == caption)
        return;
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

// Each distinct text gets one collation key and a rank; the rows are then ordered by rank
// with a counting sort, which is stable by construction. Columns repeat their texts a lot
// (dates, distances, the data mark), and comparing ranks is far cheaper than comparing keys,
// so a sort stays well within the time a click may take.
QList<qint32> RecordModel::sortPermutation(int column, Qt::SortOrder order) const
{
    QList<qint32> permutation;
    if (!isValidColumn(column))
        return permutation;
    const DistinctTexts texts = distinctTexts(m_lines, column);
    const Ranks ranks = collationRanks(texts.texts, textCollator(m_collationLocale), order);
    const std::vector<std::size_t> byRank = rankOrder(texts.ofRow, ranks);
    permutation.reserve(static_cast<qsizetype>(byRank.size()));
    for (const std::size_t row : byRank)
        permutation.append(static_cast<qint32>(row));
    return permutation;
}

QList<qint32> RecordModel::sortByColumn(int column, Qt::SortOrder order)
{
    QList<qint32> permutation = sortPermutation(column, order);
    if (isValidColumn(column))
        reorder(permutation);
    return permutation;
}

void RecordModel::reorder(const QList<qint32>& permutation)
{
    Q_ASSERT(permutation.size() == m_lines.size());
    const qsizetype count = m_lines.size();

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(static_cast<std::size_t>(count));
    QList<LogLine> sorted;
    sorted.reserve(count);
    for (qsizetype newRow = 0; newRow < count; ++newRow) {
        const qsizetype oldRow = permutation[newRow];
        newRowOf[static_cast<std::size_t>(oldRow)] = static_cast<int>(newRow);
        sorted.append(std::move(m_lines[oldRow]));
    }
    m_lines = std::move(sorted);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.append(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace torvanu
