#pragma once

#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace torvanu::bench {

// The moments a start passes, in order: a phase's name and the monotonic clock at its end.
using PhaseStamps = std::vector<std::pair<std::string, long long>>;

// Waits in the event loop until the window has been exposed and painted once, then prints
// one line to standard output and ends the process at once, without closing the window
// (closing the main window would write log.dat):
//   first_frame_ns=<monotonic clock> main_ns=<monotonic clock at main> peak_rss_kb=<VmHWM>
//   phase_<name>_ns=<monotonic clock> for each stamp, in order
// Returns only if the event loop ends first, with a failure code.
int reportFirstFrame(QWidget& window, long long mainNs, const PhaseStamps& phases = {});

} // namespace torvanu::bench
