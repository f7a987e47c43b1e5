#include "views/analysis/effort_reading.h"

#include "activity/activity_reader.h"
#include "views/import/activity_choices.h"

#include <QFileInfo>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace torvanu {

std::optional<EffortJob> effortJob(QStringView dataPath, const Race& race)
{
    const QString path = dataPath.trimmed().toString();
    if (path.isEmpty())
        return std::nullopt;
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    EffortJob job;
    job.key = {
        info.absoluteFilePath(), info.size(), info.lastModified().toMSecsSinceEpoch(),
        u"%1 %2 %3"_s.arg(race.day).arg(race.metres, 0, 'g', 17).arg(race.seconds, 0, 'g', 17)};
    job.facts.date = QDate(race.date.year, race.date.month, race.date.day);
    job.facts.metres = race.metres;
    job.facts.seconds = race.seconds;
    return job;
}

FileEfforts readFileEfforts(const EffortJob& job)
{
    ActivityReadResult read = readActivityFile(job.key.path);
    if (read.error)
        return {};
    const QTimeZone zone = QTimeZone::systemTimeZone();
    ActivityChoices choices = activityChoices(std::move(read), zone);
    const int chosen = matchingActivity(choices.activities, job.facts, zone);
    const Activity& activity = choices.activities[chosen];
    // A planned route has a distance but no times to race against.
    if (!activity.timed || activity.track.empty())
        return {};
    return {true, bestEfforts(activity.track)};
}

} // namespace torvanu
