#include "views/analysis/effort_view.h"

#include "analysis/distance_classes.h"
#include "analysis/time_text.h"
#include "views/analysis/analysis_texts.h"
#include "views/race_detail/best_efforts_view.h"
#include "storage/text_bridge.h"

namespace torvanu {

TableView effortTableView(const BookAnalysis& analysis, std::span<const RaceRow> rows,
                          std::span<const FileEfforts* const> efforts)
{
    TableView table;
    table.headers = {kEventHeader.toString(), kEffortHeader.toString(),
                     kPaceHeader.toString(),  kDateHeader.toString(),
                     kRaceHeader.toString(),  kEffortStartHeader.toString()};
    table.columns = {ColumnKind::Text, ColumnKind::Number, ColumnKind::Number,
                     ColumnKind::Text, ColumnKind::Text,   ColumnKind::Number};
    for (std::size_t d = 0; d < kEffortDistances.size(); ++d) {
        if (!officialDistanceOf(kEffortDistances[d].metres))
            continue;
        int bestRace = -1;
        const BestEffort* best = nullptr;
        for (std::size_t r = 0; r < efforts.size() && r < analysis.races.size(); ++r) {
            if (!efforts[r] || efforts[r]->efforts.size() <= d)
                continue;
            const BestEffort& effort = efforts[r]->efforts[d];
            const int race = static_cast<int>(r);
            // A shared best belongs to the earlier race, as in the bests by finishing time.
            if (!best || effort.seconds < best->seconds ||
                (effort.seconds == best->seconds && analysis.runsBefore(race, bestRace))) {
                best = &effort;
                bestRace = race;
            }
        }
        if (!best)
            continue;
        const Race& race = analysis.races[static_cast<std::size_t>(bestRace)];
        table.rows.push_back(
            std::vector<ViewCell>{{toQString(kEffortDistances[d].name)},
                                  {toQString(timeText(best->seconds))},
                                  {effortPaceText(*best)},
                                  {dateText(race.date)},
                                  {toQString(rows[static_cast<std::size_t>(race.row)].name)},
                                  {effortStartText(*best)}});
    }
    return table;
}

QString effortProgressText(const EffortProgress& progress)
{
    if (progress.reading)
        return kEffortReading.toString().arg(progress.done).arg(progress.files);
    if (progress.files == 0)
        return kEffortNoFiles.toString();
    QString text = kEffortRead.toString().arg(progress.files - progress.unreadable);
    if (progress.unreadable > 0)
        text += kEffortSkipped.toString().arg(progress.unreadable);
    return text;
}

} // namespace torvanu
