#include "views/analysis/effort_reading.h"

#include "activity/activity_reader.h"
#include "views/import/activity_choices.h"

#include <QFileInfo>
#include <QTimeZone>

#include <array>
#include <cstring>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

FileEfforts readFileEfforts(const QString& path, const RaceFacts& facts)
{
    ActivityReadResult read = readActivityFile(path);
    if (read.error)
        return {};
    const QTimeZone zone = QTimeZone::systemTimeZone();
    ActivityChoices choices = activityChoices(std::move(read), zone);
    const int chosen = matchingActivity(choices.activities, facts, zone);
    const Activity& activity = choices.activities[chosen];
    // A planned route has a distance but no times to race against.
    if (!activity.timed || activity.track.empty())
        return {};
    return {true, bestEfforts(activity.track)};
}

} // namespace

std::optional<EffortSource> effortSource(QStringView dataPath, const Race& race)
{
    const QStringView path = dataPath.trimmed();
    if (path.isEmpty())
        return std::nullopt;
    EffortSource source;
    source.row = race.row;
    source.path = path.toString();
    source.facts.date = QDate(race.date.year, race.date.month, race.date.day);
    source.facts.metres = race.metres;
    source.facts.seconds = race.seconds;
    // The facts' bits follow the path as they are: an edit of a big book makes these for every
    // race with a file, and a number's text would cost more than all the rest.
    const std::array<double, 3> facts{static_cast<double>(race.day), race.metres, race.seconds};
    std::array<char16_t, sizeof facts / sizeof(char16_t)> bits{};
    std::memcpy(bits.data(), facts.data(), sizeof facts);
    source.id.reserve(source.path.size() + 1 + static_cast<qsizetype>(bits.size()));
    source.id.append(source.path)
        .append(u'\n')
        .append(QStringView(bits.data(), static_cast<qsizetype>(bits.size())));
    return source;
}

EffortLookup lookUpEfforts(const EffortSource& source, const QHash<EffortKey, FileEfforts>& cached)
{
    const QFileInfo info(source.path);
    if (!info.isFile())
        return {};
    EffortLookup lookup;
    const RaceFacts& facts = source.facts;
    lookup.key =
        EffortKey{info.absoluteFilePath(), info.size(), info.lastModified().toMSecsSinceEpoch(),
                  u"%1 %2 %3"_s.arg(facts.date ? facts.date->toString(Qt::ISODate) : QString())
                      .arg(facts.metres.value_or(0), 0, 'g', 17)
                      .arg(facts.seconds.value_or(0), 0, 'g', 17)};
    if (const auto it = cached.constFind(*lookup.key); it != cached.cend()) {
        lookup.efforts = it.value();
        lookup.fromCache = true;
    } else {
        lookup.efforts = readFileEfforts(lookup.key->path, source.facts);
    }
    return lookup;
}

} // namespace torvanu
