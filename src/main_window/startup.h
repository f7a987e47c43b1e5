#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace torvanu {

class Dialogs;
class Form1;
class SingleWindow;
class TerminationWatch;

// Whether this start goes on to open a window; if not, how it ends.
struct StartupClaim
{
    bool proceed = true;
    int exitCode = 0;
    QString terminalText; // for standard output, with its line end
};

// The steps of a start, in the order they end; the start-up benchmark times each of them.
enum class StartupPhase
{
    Application,  // the program's name and icon
    Fonts,        // the typeface found among the installed fonts
    Translations, // Qt's own Japanese texts
    Window,       // the main window and its panels built
    Book,         // the record book read and the first results shown
    Shown,        // the window shown; its first paint follows
};

// What main() does between creating the application and running its event loop: the fonts,
// the real dialogs, the main window loaded and shown. Benchmarks start the program the same way.
class Startup
{
public:
    Startup();
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Before start(): whether another window already edits the user's book. When it does,
    // it is brought to the front (or, hung, a message says so) and this start ends.
    StartupClaim claimBook();
    Form1& start();
    Form1* window() const { return m_window.get(); }

    // Called as each phase ends. Nothing is called without it.
    void setPhaseMark(std::function<void(StartupPhase)> mark) { m_phaseMark = std::move(mark); }

private:
    // The program's name, icon, fonts and Qt's Japanese texts; once, for a window or a message.
    void prepareApplication();
    void mark(StartupPhase phase) const;

    bool m_prepared = false;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<Form1> m_window;
    std::unique_ptr<TerminationWatch> m_terminationWatch;
    std::unique_ptr<SingleWindow> m_singleWindow;
    std::function<void(StartupPhase)> m_phaseMark;
};

} // namespace torvanu
