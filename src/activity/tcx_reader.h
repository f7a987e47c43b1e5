#pragma once

#include "activity/activity.h"

#include <QByteArrayView>

namespace torvanu {

// TCX: every Activity (those of a multisport session too) with its laps and track; a Course
// is a plan, read for its distance alone.
ActivityReadResult readTcx(QByteArrayView bytes);

} // namespace torvanu
