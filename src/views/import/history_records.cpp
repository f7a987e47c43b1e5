#include "views/import/history_records.h"

#include "records/record_cells.h"
#include "storage/code_page.h"
#include "views/import/import_fill.h"

#include <QDir>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// A name from an export may be of any length and hold line breaks and characters log.dat's
// code page cannot keep: the book could then not be saved at all.
constexpr qsizetype kLongestName = 200;
constexpr QStringView kUnstorableMark = u"？";

QString storableName(const QString& name)
{
    QString text = cleanFreeTextCell(name.left(kLongestName).simplified());
    qsizetype from = 0;
    while (const std::optional<qsizetype> bad =
               firstUnstorableIndex(QStringView(text).sliced(from))) {
        const qsizetype at = from + *bad;
        text.replace(at, characterAt(text, at).size(), kUnstorableMark.toString());
        from = at + kUnstorableMark.size();
    }
    return text;
}

} // namespace

std::optional<RaceRecord> historyRecord(const FoundActivity& activity, const QString& dataPath,
                                        const QTimeZone& zone)
{
    Activity summary;
    summary.start.utc = activity.start;
    summary.timed = activity.timed;
    summary.elapsed = activity.elapsed;
    summary.distance = activity.distance;
    const ImportFill fill = importFill(summary, zone);
    if (!fill.date || !fill.time || fill.distance.isEmpty() || activity.distance <= 0)
        return std::nullopt;
    const auto& date = *fill.date;
    const auto& time = *fill.time;
    RaceRecord record;
    record.raceDate =
        composeDateCell({yearEntries()[date[0]], monthEntries()[date[1]], dayEntries()[date[2]]});
    record.raceName = storableName(activity.name);
    record.distance = composeDistanceCell({fill.distance, u"km"_s});
    record.raceTime = composeTimeCell(
        {hourEntries()[time[0]], minuteEntries()[time[1]], minuteEntries()[time[2]]});
    record.dataPath = QDir::toNativeSeparators(dataPath);
    return record;
}

QList<RaceRecord> historyRecords(const QList<FoundActivity>& ticked,
                                 const QHash<QString, QString>& copies, const QTimeZone& zone)
{
    QList<const FoundActivity*> ordered;
    for (const FoundActivity& activity : ticked)
        ordered.append(&activity);
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const FoundActivity* a, const FoundActivity* b) { return a->start < b->start; });
    QList<RaceRecord> records;
    for (const FoundActivity* activity : ordered) {
        const auto copy = copies.constFind(activity->file);
        if (copy == copies.cend())
            continue;
        if (std::optional<RaceRecord> record = historyRecord(*activity, *copy, zone))
            records.append(std::move(*record));
    }
    return records;
}

} // namespace torvanu
