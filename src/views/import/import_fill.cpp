#include "views/import/import_fill.h"

#include "calc/number_text.h"
#include "calc/units.h"
#include "records/record_cells.h"
#include "storage/text_bridge.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
// Whole seconds a hair above a count are float noise from milliseconds, not a second more.
constexpr double kSecondNoise = 1e-6;

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

QString distanceKm(double metres)
{
    // Whole metres: the three decimals of a distance in km.
    return toQString(numberText(std::round(metres) / kMetresPerKm));
}

// Beyond any race and any picker; a file may still say so, and no integer must overflow.
constexpr double kLongestSeconds = 1e9;

// Road races give a result in whole seconds, rounded up.
std::optional<long long> resultSeconds(double elapsed)
{
    if (!(elapsed < kLongestSeconds))
        return std::nullopt;
    return static_cast<long long>(std::ceil(elapsed - kSecondNoise));
}

// A track's name from outside may be of any length; the chooser's line must stay readable.
constexpr qsizetype kLongestNameShown = 40;

QString caption(const QString& label, const Activity& activity, const QTimeZone& zone)
{
    QStringList parts{label};
    if (activity.start.utc.isValid())
        parts.append(activity.start.utc.toTimeZone(zone).toString(u"yyyy/MM/dd HH:mm"_s));
    parts.append(distanceKm(activity.distance) + u" km"_s);
    if (const auto seconds = activity.timed ? resultSeconds(activity.elapsed) : std::nullopt) {
        parts.append(u"%1:%2:%3"_s.arg(*seconds / kSecondsPerHour)
                         .arg(*seconds % kSecondsPerHour / kSecondsPerMinute, 2, 10, QChar(u'0'))
                         .arg(*seconds % kSecondsPerMinute, 2, 10, QChar(u'0')));
    }
    return parts.join(u"　"_s);
}

} // namespace

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
        const std::optional<long long> seconds = resultSeconds(activity.elapsed);
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
