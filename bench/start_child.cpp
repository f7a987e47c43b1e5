// The program's start, as main() runs it, timed to its first frame and phase by phase. The
// program takes its folder for log.dat from where it runs, so torvanu_bench starts a copy of
// this program placed in a temporary folder, with or without a log.dat beside it.
#include "child_process.h"
#include "first_frame.h"
#include "main_window/form1.h"
#include "main_window/startup.h"

#include <QApplication>

namespace {

const char* phaseName(torvanu::StartupPhase phase)
{
    switch (phase) {
    case torvanu::StartupPhase::Application:
        return "name";
    case torvanu::StartupPhase::Fonts:
        return "fonts";
    case torvanu::StartupPhase::Translations:
        return "translations";
    case torvanu::StartupPhase::Window:
        return "window";
    case torvanu::StartupPhase::Book:
        return "book";
    case torvanu::StartupPhase::Shown:
        return "shown";
    }
    return "other";
}

} // namespace

int main(int argc, char* argv[])
{
    const long long mainNs = torvanu::bench::monotonicNanoseconds();
    torvanu::bench::PhaseStamps phases;
    phases.reserve(10);
    QApplication app(argc, argv);
    phases.emplace_back("application", torvanu::bench::monotonicNanoseconds());
    torvanu::Startup startup;
    // As main() does: the single-window check belongs to every start.
    if (!startup.claimBook().proceed)
        return 1;
    phases.emplace_back("claim", torvanu::bench::monotonicNanoseconds());
    startup.setPhaseMark([&phases](torvanu::StartupPhase phase) {
        phases.emplace_back(phaseName(phase), torvanu::bench::monotonicNanoseconds());
    });
    torvanu::Form1& window = startup.start();
    return torvanu::bench::reportFirstFrame(window, mainNs, phases);
}
