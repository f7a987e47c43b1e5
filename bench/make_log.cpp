// Writes a log.dat of generated records into a folder: torvanu_make_log <count> <folder>
#include "log_generator.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool ok = false;
    const qsizetype count = arguments.size() == 3 ? arguments[1].toLongLong(&ok) : 0;
    if (!ok || count < 0 || !QDir().mkpath(arguments[2])) {
        std::fprintf(stderr, "usage: torvanu_make_log <count> <folder>\n");
        return 2;
    }
    const auto log =
        torvanu::bench::writeLogFile(arguments[2], torvanu::bench::generateLogLines(count));
    if (!log) {
        std::fprintf(stderr, "could not write log.dat\n");
        return 1;
    }
    std::printf("%s: %lld records, %lld bytes\n", log->path.toLocal8Bit().constData(),
                static_cast<long long>(count), static_cast<long long>(log->bytes));
    return 0;
}
