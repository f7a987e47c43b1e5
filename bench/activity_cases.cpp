#include "activity_cases.h"

#include "activity_generator.h"

#include "activity/activity_reader.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <chrono>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRunSeconds = 4 * 60 * 60;
constexpr int kSmokeSeconds = 60;

// Written once per run and shared by the figure and its floor.
QString runFile(const BenchContext& context, bool fit)
{
    const QString path = QDir(context.root).filePath(fit ? u"run.fit"_s : u"run.gpx"_s);
    if (QFile::exists(path))
        return path;
    const int seconds = context.smoke ? kSmokeSeconds : kRunSeconds;
    const QByteArray bytes = fit ? generateFitRun(seconds) : generateGpxRun(seconds);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return {};
    return path;
}

enum class Reading
{
    Decode, // the reader, from the file's name to its activities
    Bytes,  // the file's bytes, and nothing else
    Tokens, // the bytes, and every token of them through QXmlStreamReader
};

void readRun(benchmark::State& state, BenchContext& context, bool fit, Reading reading)
{
    const QString path = runFile(context, fit);
    if (path.isEmpty()) {
        state.SkipWithError("could not write the generated file");
        return;
    }
    const std::size_t expected = (context.smoke ? kSmokeSeconds : kRunSeconds) + 1;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (reading != Reading::Decode) {
            QFile file(path);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (reading == Reading::Tokens) {
                QXmlStreamReader xml(bytes);
                while (!xml.atEnd())
                    xml.readNext();
            }
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
            if (bytes.isEmpty()) {
                state.SkipWithError("could not read the generated file");
                return;
            }
            continue;
        }
        const ActivityReadResult result = readActivityFile(path);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (result.error || result.activities.size() != 1 ||
            result.activities.front().track.size() != expected) {
            state.SkipWithError("the generated file did not read whole");
            return;
        }
    }
}

} // namespace

void registerActivityCases(BenchContext& context)
{
    BenchContext* c = &context;
    for (const bool fit : {true, false}) {
        const std::string name = fit ? "activity/fit" : "activity/gpx";
        for (const auto& [suffix, reading] :
             {std::pair{"", Reading::Decode}, std::pair{"/floor", Reading::Bytes},
              std::pair{"/tokens", Reading::Tokens}}) {
            if (fit && reading == Reading::Tokens)
                continue;
            benchmark::RegisterBenchmark(
                (name + suffix).c_str(),
                [c, fit, reading](benchmark::State& s) { readRun(s, *c, fit, reading); })
                ->UseManualTime()
                ->Iterations(context.smoke ? 1 : 20)
                ->Repetitions(context.smoke ? 1 : 6);
        }
    }
}

} // namespace torvanu::bench
