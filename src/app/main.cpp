#include "main_window/startup.h"
#include "shell/command_line.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[])
{
    // Read before the application object, which would need a display just to print help.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const torvanu::CommandLineOutcome outcome = torvanu::parseCommandLine(arguments);
    if (!outcome.run) {
        print(stdout, outcome.standardOutput);
        print(stderr, outcome.standardError);
        return outcome.exitCode;
    }

    QApplication app(argc, argv);
    torvanu::Startup startup;
    const torvanu::StartupClaim claim = startup.claimBook();
    if (!claim.proceed) {
        print(stdout, claim.terminalText);
        return claim.exitCode;
    }
    startup.start();
    return QApplication::exec();
}
