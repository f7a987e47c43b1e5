#pragma once

class QWidget;

namespace torvanu::bench {

// Waits in the event loop until the window has been exposed and painted once, then prints
// one line to standard output and ends the process at once, without closing the window
// (closing the main window would write log.dat):
//   first_frame_ns=<monotonic clock> main_ns=<monotonic clock at main> peak_rss_kb=<VmHWM>
// Returns only if the event loop ends first, with a failure code.
int reportFirstFrame(QWidget& window, long long mainNs);

} // namespace torvanu::bench
