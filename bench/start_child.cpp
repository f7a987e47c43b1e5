// The program's start, as main() runs it, timed to its first frame. The program takes its
// folder for log.dat from where it runs, so torvanu_bench starts a copy of this program
// placed in a temporary folder, with or without a log.dat beside it.
#include "child_process.h"
#include "first_frame.h"
#include "main_window/form1.h"
#include "main_window/startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const long long mainNs = torvanu::bench::monotonicNanoseconds();
    QApplication app(argc, argv);
    torvanu::Startup startup;
    // As main() does: the single-window check belongs to every start.
    if (!startup.claimBook().proceed)
        return 1;
    torvanu::Form1& window = startup.start();
    return torvanu::bench::reportFirstFrame(window, mainNs);
}
