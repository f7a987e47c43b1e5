#include "views/race_detail/best_efforts_view.h"

#include "analysis/time_text.h"
#include "calc/units.h"
#include "views/race_detail/race_detail_texts.h"
#include "storage/text_bridge.h"

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

double metresOf(const BestEffort& effort)
{
    return kEffortDistances[static_cast<std::size_t>(effort.distance)].metres;
}

} // namespace

QString effortPaceText(const BestEffort& effort)
{
    return toQString(timeText(effort.seconds / (metresOf(effort) / kMetresPerKm)));
}

QString effortStartText(const BestEffort& effort)
{
    return QString::number(effort.start / kMetresPerKm, 'f', 2) + u"km"_s;
}

BestEffortsView bestEffortsView(std::span<const BestEffort> efforts)
{
    BestEffortsView view;
    view.headers = {kEffortDistanceHeader.toString(), kEffortTimeHeader.toString(),
                    kEffortPaceHeader.toString(), kEffortStartHeader.toString()};
    for (const BestEffort& effort : efforts) {
        view.rows.push_back(
            {toQString(kEffortDistances[static_cast<std::size_t>(effort.distance)].name),
             toQString(timeText(effort.seconds)), effortPaceText(effort) + u"/km"_s,
             effortStartText(effort)});
    }
    return view;
}

} // namespace torvanu
