#include "views/import/history_table.h"

#include "analysis/distance_classes.h"
#include "calc/clock_text.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "storage/text_bridge.h"
#include "views/import/history_records.h"
#include "views/import/history_texts.h"
#include "views/import/import_fill.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

bool hasTime(const FoundActivity& activity)
{
    return activity.timed && activity.elapsed > 0;
}

} // namespace

HistoryTable::HistoryTable(QObject* parent) : QAbstractTableModel(parent) {}

void HistoryTable::setRows(QList<FoundRow> rows, const QTimeZone& zone, const QString& root)
{
    beginResetModel();
    m_zone = zone;
    m_root = root.isEmpty() || root.endsWith(u'/') ? root : root + u'/';
    m_rows = std::move(rows);
    m_ticked.clear();
    m_takeable.clear();
    for (const FoundRow& row : m_rows) {
        const bool takeable = row.state != FoundRow::State::Unreadable &&
                              historyRecord(row.activity, {}, zone).has_value();
        m_takeable.append(takeable);
        m_ticked.append(takeable && row.preselected);
    }
    endResetModel();
}

void HistoryTable::setTicked(int row, bool ticked)
{
    if (!m_takeable.at(row) || m_ticked.at(row) == ticked)
        return;
    m_ticked[row] = ticked;
    const QModelIndex cell = index(row, Take);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

QList<FoundActivity> HistoryTable::tickedActivities() const
{
    QList<FoundActivity> ticked;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_ticked[i])
            ticked.append(m_rows[i].activity);
    }
    return ticked;
}

int HistoryTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryTable::text(int row, int column) const
{
    const FoundRow& found = m_rows[row];
    const FoundActivity& activity = found.activity;
    const bool read = found.state != FoundRow::State::Unreadable;
    switch (column) {
    case Date:
        return read && activity.start.isValid()
                   ? activity.start.toTimeZone(m_zone).toString(u"yyyy/MM/dd HH:mm"_s)
                   : QString();
    case SportColumn:
        return read ? sportCaption(activity.sport) : QString();
    case Distance:
        return read ? toQString(numberText(std::round(activity.distance) / kMetresPerKm)) + u" km"_s
                    : QString();
    case Time:
        if (const auto seconds =
                read && hasTime(activity) ? roundedUpSeconds(activity.elapsed) : std::nullopt)
            return toQString(clockText(*seconds));
        return {};
    case Pace:
        if (read && hasTime(activity) && activity.distance > 0) {
            const double perKm = activity.elapsed / (activity.distance / kMetresPerKm);
            if (const auto seconds = roundedUpSeconds(perKm))
                return toQString(minuteClockText(*seconds));
        }
        return {};
    case OfficialClass:
        return found.official ? toQString(kOfficialDistances[*found.official].name) : QString();
    case Name:
        if (read)
            return activity.name.simplified();
        return !m_root.isEmpty() && activity.file.startsWith(m_root)
                   ? activity.file.sliced(m_root.size())
                   : activity.file;
    case State:
        switch (found.state) {
        case FoundRow::State::New:
            return kStateNew.toString();
        case FoundRow::State::Recorded:
            return kStateRecorded.toString();
        case FoundRow::State::Unreadable:
            return kStateUnreadable.toString() + u"："_s + activity.problem;
        }
    }
    return {};
}

QVariant HistoryTable::sortValue(int row, int column) const
{
    const FoundActivity& activity = m_rows[row].activity;
    switch (column) {
    case Take:
        return m_ticked[row] ? 1 : 0;
    case Date:
        return activity.start;
    case Distance:
        return activity.distance;
    case Time:
        return hasTime(activity) ? activity.elapsed : 0.0;
    case Pace:
        return hasTime(activity) && activity.distance > 0 ? activity.elapsed / activity.distance
                                                          : 0.0;
    case OfficialClass:
        return m_rows[row].official ? static_cast<int>(*m_rows[row].official) : -1;
    default:
        return text(row, column);
    }
}

QVariant HistoryTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const int row = index.row();
    if (index.column() == Take) {
        if (role == Qt::CheckStateRole)
            return m_ticked[row] ? Qt::Checked : Qt::Unchecked;
        if (role == kSortRole)
            return sortValue(row, Take);
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return text(row, index.column());
    if (role == kSortRole)
        return sortValue(row, index.column());
    if (role == Qt::TextAlignmentRole && index.column() >= Distance && index.column() <= Pace)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant HistoryTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return kHistoryColumns[static_cast<std::size_t>(section)].toString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags HistoryTable::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Take && index.row() < m_rows.size() && m_takeable[index.row()])
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool HistoryTable::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != Take || !m_takeable.value(index.row()))
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

} // namespace torvanu
