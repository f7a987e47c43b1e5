#pragma once

#include "activity/activity.h"

#include <QByteArrayView>

namespace torvanu {

// GPX 1.0 or 1.1: every track is an activity; a file with routes and no track is a plan,
// read for its distance alone.
ActivityReadResult readGpx(QByteArrayView bytes);

// Sport from the free text a GPX or TCX file gives ("running", "Biking", ...).
Sport sportFromText(QStringView text);

} // namespace torvanu
