#pragma once

#include <QString>

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

private:
    // The program's name, icon, fonts and Qt's Japanese texts; once, for a window or a message.
    void prepareApplication();

    bool m_prepared = false;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<Form1> m_window;
    std::unique_ptr<TerminationWatch> m_terminationWatch;
    std::unique_ptr<SingleWindow> m_singleWindow;
};

} // namespace torvanu
