#include "views/race_detail/race_detail_load.h"

#include "activity/activity_choice.h"
#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "calc/cell_format.h"
#include "views/import/activity_choices.h"
#include "views/race_detail/race_detail_texts.h"
#include "storage/text_bridge.h"

#include <QDir>

#include <utility>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

RaceDetailLoad refused(const QString& path, QStringView reason)
{
    return {std::nullopt, QDir::toNativeSeparators(path) + u"\n"_s + reason.toString() + u"。"_s};
}

// What the record's cells say, as far as each reads.
RaceFacts raceFacts(const RaceRecord& record)
{
    RaceFacts facts;
    if (const CellReading<RaceDate> date = readDateCell(toU16(record.raceDate)); date.ok())
        facts.date = QDate(1970, 1, 1).addDays(date.value.dayNumber()); // its day 0
    if (const CellReading<double> metres = readDistanceCell(toU16(record.distance)); metres.ok())
        facts.metres = metres.value;
    if (const CellReading<double> seconds = readTimeCell(toU16(record.raceTime)); seconds.ok())
        facts.seconds = seconds.value;
    return facts;
}

} // namespace

RaceDetailLoad loadRaceDetail(const RaceRecord& record, const QTimeZone& zone)
{
    const QString path = record.dataPath.trimmed();
    if (path.isEmpty())
        return {std::nullopt, kNoDataFile.toString()};
    ActivityReadResult read = readActivityFile(path);
    if (read.error)
        return refused(path, activityErrorText(*read.error));

    ActivityChoices choices = activityChoices(std::move(read), zone);
    const int chosen = matchingActivity(choices.activities, raceFacts(record), zone);
    Activity activity = std::move(choices.activities[chosen]);
    const RaceAnalysis analysis = analyseRace(activity.track);
    // A planned route, or a treadmill run without a distance, has nothing to split.
    if (!activity.timed || !(analysis.finishTime > 0) || !(analysis.finishDistance > 0))
        return refused(path, kNoSplits);

    RaceDetailData data;
    data.heading = u"%1　%2\n%3"_s.arg(record.raceDate.trimmed(), record.raceName.trimmed(),
                                       choices.captions[chosen]);
    data.view = raceDetailView(analysis, evenPace(record.raceTime, record.distance, analysis));
    data.activity = std::move(activity);
    return {std::move(data), {}};
}

} // namespace torvanu
