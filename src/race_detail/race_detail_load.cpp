#include "race_detail/race_detail_load.h"

#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "import/import_fill.h"
#include "race_detail/race_detail_texts.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

RaceDetailLoad refused(const QString& path, QStringView reason)
{
    return {std::nullopt, QDir::toNativeSeparators(path) + u"\n"_s + reason.toString() + u"。"_s};
}

} // namespace

RaceDetailLoad loadRaceDetail(const RaceRecord& record, const QTimeZone& zone)
{
    const QString path = record.dataPath.trimmed();
    if (path.isEmpty())
        return {std::nullopt, kNoDataFile.toString()};
    const ActivityReadResult read = readActivityFile(path);
    if (read.error)
        return refused(path, activityErrorText(*read.error));

    const Activity& activity = read.activities[preferredActivity(read.activities)];
    const RaceAnalysis analysis = analyseRace(activity.track);
    // A planned route, or a treadmill run without a distance, has nothing to split.
    if (!activity.timed || !(analysis.finishTime > 0) || !(analysis.finishDistance > 0))
        return refused(path, kNoSplits);

    RaceDetailData data;
    data.heading = u"%1　%2\n%3"_s.arg(record.raceDate.trimmed(), record.raceName.trimmed(),
                                       activityCaption(activity, zone));
    data.view = raceDetailView(analysis, evenPace(record.raceTime, record.distance, analysis));
    return {std::move(data), {}};
}

} // namespace torvanu
