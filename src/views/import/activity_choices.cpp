#include "views/import/activity_choices.h"

#include "activity/activity_choice.h"
#include "views/import/import_fill.h"

#include <optional>
#include <utility>

namespace torvanu {

ActivityChoices activityChoices(ActivityReadResult read, const QTimeZone& zone)
{
    std::optional<Activity> all = allTracksAsOne(read);
    ActivityChoices choices;
    choices.activities = std::move(read.activities);
    for (const Activity& activity : std::as_const(choices.activities))
        choices.captions.append(activityCaption(activity, zone));
    // Offered first is one of the file's own activities: joining the tracks is the user's call.
    choices.preferred = preferredActivity(choices.activities);
    if (all) {
        choices.captions.append(allTracksCaption(*all, zone));
        choices.activities.append(std::move(*all));
    }
    return choices;
}

} // namespace torvanu
