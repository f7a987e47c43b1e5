#include "views/import/import_fill.h"

#include "calc/clock_text.h"
#include "calc/number_text.h"
#include "calc/time_units.h"
#include "calc/units.h"
#include "records/record_cells.h"
#include "storage/text_bridge.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QString distanceKm(double metres)
{
    // Whole metres: the three decimals of a distance in km.
    return toQString(numberText(std::round(metres) / kMetresPerKm));
}

// A track's name from outside may be of any length; the chooser's line must stay readable.
constexpr qsizetype kLongestNameShown = 40;

QString caption(const QString& label, const Activity& activity, const QTimeZone& zone)
{
    QStringList parts{label};
    if (activity.start.utc.isValid())
        parts.append(activity.start.utc.toTimeZone(zone).toString(u"yyyy/MM/dd HH:mm"_s));
    parts.append(distanceKm(activity.distance) + u" km"_s);
    // Road races give a result in whole seconds, rounded up.
    if (const auto seconds = activity.timed ? roundedUpSeconds(activity.elapsed) : std::nullopt)
        parts.append(toQString(clockText(*seconds)));
    return parts.join(u"　"_s);
}

} // namespace

QString sportCaption(Sport sport)
{
    switch (sport) {
    case Sport::Running:
        return u"ランニング"_s;
    case Sport::Walking:
        return u"ウォーキング"_s;
    case Sport::Cycling:
        return u"サイクリング"_s;
    case Sport::Swimming:
        return u"スイム"_s;
    case Sport::Transition:
        return u"トランジション"_s;
    case Sport::Other:
        return u"その他"_s;
    case Sport::Unknown:
        break;
    }
    return u"種目不明"_s;
}

ImportFill importFill(const Activity& activity, const QTimeZone& zone)
{
    ImportFill fill;
    if (activity.start.utc.isValid()) {
        const QDate date = activity.start.utc.toTimeZone(zone).date();
        if (date.year() >= kFirstYear && date.year() <= kLastYear)
            fill.date = std::array{date.year() - kFirstYear, date.month() - 1, date.day() - 1};
    }
    fill.distance = distanceKm(activity.distance);
    if (activity.timed) {
        const std::optional<std::int64_t> seconds = roundedUpSeconds(activity.elapsed);
        if (seconds && *seconds / kSecondsPerHour < hourEntries().size())
            fill.time = std::array{static_cast<int>(*seconds / kSecondsPerHour),
                                   static_cast<int>(*seconds % kSecondsPerHour / kSecondsPerMinute),
                                   static_cast<int>(*seconds % kSecondsPerMinute)};
        else
            fill.timeTooLong = true;
    }
    return fill;
}

QString activityCaption(const Activity& activity, const QTimeZone& zone)
{
    if (activity.name.isEmpty())
        return caption(sportCaption(activity.sport), activity, zone);
    QString name = activity.name;
    if (name.size() > kLongestNameShown)
        name = name.first(kLongestNameShown - 1) + u"…"_s;
    return caption(name, activity, zone);
}

QString allTracksCaption(const Activity& allTracks, const QTimeZone& zone)
{
    return caption(u"全トラック（1つの記録として）"_s, allTracks, zone);
}

} // namespace torvanu
