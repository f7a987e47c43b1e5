#include "views/race_detail/race_detail_load.h"

#include "activity/activity_choice.h"
#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "calc/cell_format.h"
#include "views/import/activity_choices.h"
#include "views/race_detail/race_channels.h"
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

// The heading names the distance the file states (a FIT session's total), and the track's last
// point often falls a few metres short of it. Where both end in the same part-km after the last
// whole one, the file's distance is the finish everywhere: the heading, the summary and the last
// row then name one distance, not three that differ in the last digit.
void finishAtStatedDistance(RaceAnalysis& analysis, double stated)
{
    const double lastWhole = static_cast<double>(analysis.splits.size()) * kMetresPerKm;
    if (analysis.restDistance > 0 && stated > lastWhole && stated < lastWhole + kMetresPerKm) {
        analysis.finishDistance = stated;
        analysis.restDistance = stated - lastWhole;
    }
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
    RaceAnalysis analysis = analyseRace(activity.track);
    // A planned route, or a treadmill run without a distance, has nothing to split.
    if (!activity.timed || !(analysis.finishTime > 0) || !(analysis.finishDistance > 0))
        return refused(path, kNoSplits);

    finishAtStatedDistance(analysis, activity.distance);

    RaceDetailData data;
    data.heading = u"%1　%2\n%3"_s.arg(record.raceDate.trimmed(), record.raceName.trimmed(),
                                       choices.captions[chosen]);
    data.view = raceDetailView(analysis, evenPace(record.raceTime, record.distance, analysis),
                               raceChannels(activity, analysis));
    data.activity = std::move(activity);
    return {std::move(data), {}};
}

} // namespace torvanu
