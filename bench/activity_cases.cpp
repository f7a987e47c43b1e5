#include "activity_cases.h"

#include "activity_generator.h"

#include "activity/activity_reader.h"
#include "race_detail/race_detail_entry.h"
#include "race_detail/race_detail_window.h"
#include "silent_dialogs.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QXmlStreamReader>

#include <chrono>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

constexpr int kRunSeconds = 4 * 60 * 60;
constexpr int kSmokeSeconds = 60;

// Written once per run and shared by the figure and its floor.
QString runFile(const BenchContext& context, ActivityFormat format)
{
    const QString name = format == ActivityFormat::Fit   ? u"run.fit"_s
                         : format == ActivityFormat::Gpx ? u"run.gpx"_s
                                                         : u"run.tcx"_s;
    const QString path = QDir(context.root).filePath(name);
    if (QFile::exists(path))
        return path;
    const int seconds = context.smoke ? kSmokeSeconds : kRunSeconds;
    const QByteArray bytes = format == ActivityFormat::Fit   ? generateFitRun(seconds)
                             : format == ActivityFormat::Gpx ? generateGpxRun(seconds)
                                                             : generateTcxRun(seconds);
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

void readRun(benchmark::State& state, BenchContext& context, ActivityFormat format, Reading reading)
{
    const QString path = runFile(context, format);
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

// From the choice of レース詳細 to the window painted whole: reading the file with its heart
// rate, elevation and cadence, the splits and what the channels say of each km, the texts, the
// layout and the first paint of the table and the chart.
void openRaceDetail(benchmark::State& state, BenchContext& context)
{
    RaceRecord record;
    record.raceName = u"4時間走"_s;
    record.distance = u"42.195km"_s;
    record.raceTime = u" 4時間 0分 0秒"_s;
    record.dataPath = runFile(context, ActivityFormat::Fit);
    if (record.dataPath.isEmpty()) {
        state.SkipWithError("could not write the generated file");
        return;
    }
    SilentDialogs dialogs;
    for (auto _ : state) {
        const auto start = Clock::now();
        RaceDetailWindow* window = torvanu::openRaceDetail(nullptr, dialogs, record);
        const QPixmap painted = window ? window->grab() : QPixmap();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        // Heart rate, and the climbs and adjusted pace of the elevation: the split table's
        // columns beside the four every file gets.
        constexpr qsizetype channelColumns = 8;
        const bool whole = window && window->data().view.headers.size() == channelColumns;
        delete window;
        if (!whole || painted.isNull() || dialogs.messages() > 0) {
            state.SkipWithError("the window did not open with the file's channels");
            return;
        }
    }
}

} // namespace

void registerActivityCases(BenchContext& context)
{
    BenchContext* c = &context;
    for (const auto& [format, name] :
         {std::pair{ActivityFormat::Fit, std::string("activity/fit")},
          std::pair{ActivityFormat::Gpx, std::string("activity/gpx")},
          std::pair{ActivityFormat::Tcx, std::string("activity/tcx")}}) {
        for (const auto& [suffix, reading] :
             {std::pair{"", Reading::Decode}, std::pair{"/floor", Reading::Bytes},
              std::pair{"/tokens", Reading::Tokens}}) {
            if (format == ActivityFormat::Fit && reading == Reading::Tokens)
                continue;
            benchmark::RegisterBenchmark(
                (name + suffix).c_str(),
                [c, format = format, reading = reading](benchmark::State& s) {
                    readRun(s, *c, format, reading);
                })
                ->UseManualTime()
                ->Iterations(context.smoke ? 1 : 20)
                ->Repetitions(context.smoke ? 1 : 6);
        }
    }
    benchmark::RegisterBenchmark("race_detail/open",
                                 [c](benchmark::State& s) { openRaceDetail(s, *c); })
        ->UseManualTime()
        ->Iterations(context.smoke ? 1 : 10)
        ->Repetitions(context.smoke ? 1 : 6);
}

} // namespace torvanu::bench
