#pragma once

#include <memory>

namespace torvanu {

class Dialogs;
class Form1;
class TerminationWatch;

// What main() does between creating the application and running its event loop: the fonts,
// the real dialogs, the main window loaded and shown. Benchmarks start the program the same way.
class Startup
{
public:
    Startup();
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    Form1& start();
    Form1* window() const { return m_window.get(); }

private:
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<Form1> m_window;
    std::unique_ptr<TerminationWatch> m_terminationWatch;
};

} // namespace torvanu
