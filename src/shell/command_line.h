#pragma once

#include <QString>
#include <QStringList>

namespace torvanu {

// What the command line asks for: start the window, or print a text and end at once.
struct CommandLineOutcome
{
    bool run = true;
    int exitCode = 0;       // when not run: 0 for --help and --version, 2 for a bad command line
    QString standardOutput; // printed as it is, when not run
    QString standardError;
};

inline constexpr int kBadCommandLineExit = 2;

// Reads the arguments as main() receives them, program name first, before any application
// object exists, so that --help and --version need no display. Qt's own options (-platform,
// -style and the like) are let through for the application object to take.
CommandLineOutcome parseCommandLine(const QStringList& arguments);

} // namespace torvanu
