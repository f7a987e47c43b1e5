#pragma once

#include "activity/activity.h"

#include <QString>

namespace torvanu {

// What is wrong with a data file, in the words the window shows under the file's name.
QString activityErrorText(const ActivityError& error);

} // namespace torvanu
