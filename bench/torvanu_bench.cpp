// Runs every case and prints one table: each figure beside its floor, measured in the same
// run, with the ratio, the target and the verdict.
//   torvanu_bench [--smoke] [--table FILE] [--benchmark_filter=...]
// --smoke runs every case once at a tiny size and asserts nothing about time; it fails only
// when a case cannot run.
#include "bench_cases.h"
#include "summary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[])
{
    // Our own flags first, then Google Benchmark's, then Qt's.
    bool smoke = false;
    QByteArray tableFile;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            smoke = true;
        else if (std::strcmp(argv[i], "--table") == 0 && i + 1 < argc)
            tableFile = argv[++i];
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);
    benchmark::Initialize(&restCount, rest.data());
    if (benchmark::ReportUnrecognizedArguments(restCount, rest.data()))
        return 2;

    // Nothing is written outside one temporary folder, the children's home included.
    QTemporaryDir root(QDir::tempPath() + u"/torvanu-bench-XXXXXX"_s);
    if (!root.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QByteArray home = QDir(root.path()).filePath(u"home"_s).toLocal8Bit();
    QDir().mkpath(QString::fromLocal8Bit(home));
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    const QByteArray runtime = home + "/run";
    QDir().mkpath(QString::fromLocal8Bit(runtime));
    QFile::setPermissions(QString::fromLocal8Bit(runtime),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(restCount, rest.data());

    torvanu::bench::Samples samples;
    torvanu::bench::BenchContext context;
    context.root = root.path();
    context.programDir = QCoreApplication::applicationDirPath();
    context.smoke = smoke;
    context.sizes = smoke ? torvanu::bench::TableOptions{true, 300, 600, 50}
                          : torvanu::bench::TableOptions{false, 100'000, 1'000'000, 10'000};
    context.samples = &samples;
    torvanu::bench::registerCases(context);

    torvanu::bench::SamplesReporter reporter(samples);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::string table = torvanu::bench::summaryTable(samples, context.sizes);
    std::fputs(table.c_str(), stdout);
    if (!tableFile.isEmpty()) {
        QFile file(QString::fromLocal8Bit(tableFile));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(table.data(), static_cast<qint64>(table.size())) !=
                static_cast<qint64>(table.size()))
            std::fprintf(stderr, "could not write %s\n", tableFile.constData());
    }
    return samples.failures.empty() ? 0 : 1;
}
