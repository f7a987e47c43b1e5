#include "history/book_match.h"

#include "history/history_copy.h"

#include "analysis/distance_classes.h"
#include "calc/cell_format.h"
#include "storage/text_bridge.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

struct BookRace
{
    double metres = 0;
    double seconds = 0;
};

bool near(double a, double b)
{
    return std::abs(a - b) <= kSameRaceTolerance * std::max(std::abs(a), std::abs(b));
}

} // namespace

QString copyFolderOf(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(u"activities"_s);
}

QList<FoundRow> matchWithBook(const HistoryScan& scan, const QList<RaceRecord>& book,
                              const QString& dataFolder, const QTimeZone& zone)
{
    // The book by date: one look-up per activity, whatever the book's size.
    QHash<int, QList<BookRace>> byDay;
    QSet<QString> dataPaths;
    const QString copies = QDir::cleanPath(copyFolderOf(dataFolder));
    for (const RaceRecord& record : book) {
        if (!record.dataPath.isEmpty())
            dataPaths.insert(QDir::cleanPath(QDir::fromNativeSeparators(record.dataPath)));
        const CellReading<RaceDate> date = readDateCell(toU16(record.raceDate));
        const CellReading<double> metres = readDistanceCell(toU16(record.distance));
        const CellReading<double> seconds = readTimeCell(toU16(record.raceTime));
        if (date.ok() && metres.ok() && seconds.ok())
            byDay[date.value.dayNumber()].append({metres.value, seconds.value});
    }

    QList<FoundRow> rows;
    rows.reserve(scan.found.size());
    for (const FoundActivity& activity : scan.found) {
        FoundRow row;
        row.activity = activity;
        if (!activity.problem.isEmpty()) {
            row.state = FoundRow::State::Unreadable;
            rows.append(row);
            continue;
        }
        row.official = officialDistanceOf(activity.distance);
        row.candidate = (activity.sport == Sport::Running && row.official) || activity.raceMarked;

        const QString ownPath =
            scan.kind == SourceKind::Archive ? QString() : QDir::cleanPath(activity.file);
        bool recorded = (!ownPath.isEmpty() && dataPaths.contains(ownPath)) ||
                        dataPaths.contains(copies + u'/' + copyNameOf(activity.file));
        if (!recorded && activity.start.isValid() && activity.timed) {
            const QDate day = activity.start.toTimeZone(zone).date();
            const RaceDate date{day.year(), day.month(), day.day()};
            for (const BookRace& race : byDay.value(date.dayNumber())) {
                if (near(race.metres, activity.distance) && near(race.seconds, activity.elapsed)) {
                    recorded = true;
                    break;
                }
            }
        }
        row.state = recorded ? FoundRow::State::Recorded : FoundRow::State::New;
        row.preselected = row.candidate && !recorded;
        rows.append(row);
    }
    return rows;
}

} // namespace torvanu
