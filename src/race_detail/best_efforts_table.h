#pragma once

#include "views/race_detail/best_efforts_view.h"

class QGroupBox;

namespace torvanu {

// The race's fastest stretches as a table (BestEfforts) in its frame.
QGroupBox* bestEffortsFrame(const BestEffortsView& view);

} // namespace torvanu
