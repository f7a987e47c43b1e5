#include "effort_cases.h"

#include "activity_generator.h"
#include "silent_dialogs.h"

#include "activity/activity_reader.h"
#include "analysis/best_efforts.h"
#include "analysis_window/analysis_window.h"
#include "records/record_model.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

constexpr int kTrackSeconds = 4 * 60 * 60;
constexpr int kRaceSeconds = 60 * 60;
constexpr int kRaces = 500;
constexpr int kSmokeSeconds = 60;
constexpr int kSmokeRaces = 3;

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The 4-hour run as the FIT reader gives it, read once per run.
const std::vector<TrackPoint>* fourHourTrack(const BenchContext& context)
{
    static std::vector<TrackPoint> track;
    if (!track.empty())
        return &track;
    const QString path = QDir(context.root).filePath(u"efforts.fit"_s);
    if (!writeBytes(path, generateFitRun(context.smoke ? kSmokeSeconds : kTrackSeconds)))
        return nullptr;
    ActivityReadResult read = readActivityFile(path);
    if (read.error || read.activities.isEmpty())
        return nullptr;
    track = std::move(read.activities.front().track);
    return &track;
}

void efforts(benchmark::State& state, BenchContext& context, bool floor)
{
    const std::vector<TrackPoint>* track = fourHourTrack(context);
    if (!track) {
        state.SkipWithError("could not read the generated track");
        return;
    }
    context.samples->notes["efforts/all:points"] = std::to_string(track->size());
    for (auto _ : state) {
        const auto start = Clock::now();
        if (floor) {
            // Every point looked at once: what any search over the track costs at least.
            double sum = 0;
            for (const TrackPoint& point : *track)
                sum += point.distance - point.time;
            benchmark::DoNotOptimize(sum);
        } else {
            const std::vector<BestEffort> found = bestEfforts(*track);
            benchmark::DoNotOptimize(found.data());
            if (found.empty() && !context.smoke) {
                state.SkipWithError("no effort found");
                return;
            }
        }
        state.SetIterationTime(secondsSince(start));
    }
}

// 500 races, each with a 1-hour FIT file of its own, written once per run.
struct RaceBook
{
    QList<RaceRecord> records;
    QStringList files;
    QString cache;
};

const RaceBook* raceBook(const BenchContext& context)
{
    static RaceBook book;
    if (!book.records.isEmpty())
        return &book;
    const QString folder = QDir(context.root).filePath(u"races"_s);
    if (!QDir().mkpath(folder))
        return nullptr;
    const QByteArray bytes = generateFitRun(context.smoke ? kSmokeSeconds : kRaceSeconds);
    const int races = context.smoke ? kSmokeRaces : kRaces;
    for (int i = 0; i < races; ++i) {
        const QString path = QDir(folder).filePath(u"race-%1.fit"_s.arg(i));
        if (!writeBytes(path, bytes))
            return nullptr;
        book.files.append(path);
        book.records.append({QString::number(i + 1),
                             u"2024年11月08日"_s,
                             u"1時間走"_s,
                             u"12km"_s,
                             u" 1時間 0分 0秒"_s,
                             {},
                             path});
    }
    book.cache = QDir(context.root).filePath(u"efforts-cache.json"_s);
    return &book;
}

enum class Opening
{
    EmptyCache, // until every file is read and 区間ベスト filled
    Cached,     // the same, the cache written by an opening before
    NoFiles,    // the same book without its files: the window alone
};

void openAnalysis(benchmark::State& state, BenchContext& context, Opening opening)
{
    const RaceBook* book = raceBook(context);
    if (!book) {
        state.SkipWithError("could not write the race files");
        return;
    }
    QList<RaceRecord> records = book->records;
    if (opening == Opening::NoFiles) {
        for (RaceRecord& record : records)
            record.dataPath.clear();
    }
    RecordModel model;
    model.setRecords(records);
    SilentDialogs dialogs;
    const AnalysisWindow::Services services{dialogs, {}, {}, nullptr, book->cache};
    const auto waitForEfforts = [](const AnalysisWindow& window) {
        while (window.readingEfforts())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    if (opening == Opening::Cached) {
        // An opening before writes the cache.
        const AnalysisWindow first(model, services);
        waitForEfforts(first);
    }
    for (auto _ : state) {
        if (opening == Opening::EmptyCache)
            QFile::remove(book->cache);
        const auto start = Clock::now();
        auto window = std::make_unique<AnalysisWindow>(model, services);
        window->show();
        waitForEfforts(*window);
        window->repaint();
        state.SetIterationTime(secondsSince(start));
        auto* table = window->findChild<QObject*>(u"EffortTable"_s);
        if (!table || dialogs.messages() != 0) {
            state.SkipWithError("the window did not fill");
            return;
        }
    }
}

// Reading the same files one after the other, with nothing else: what the first opening
// would cost on one core.
void readAll(benchmark::State& state, BenchContext& context)
{
    const RaceBook* book = raceBook(context);
    if (!book) {
        state.SkipWithError("could not write the race files");
        return;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const QString& file : book->files) {
            const ActivityReadResult read = readActivityFile(file);
            if (read.error) {
                state.SkipWithError("a race file did not read");
                return;
            }
        }
        state.SetIterationTime(secondsSince(start));
    }
}

} // namespace

void registerEffortCases(BenchContext& context)
{
    BenchContext* c = &context;
    const bool smoke = context.smoke;
    const auto add = [smoke](const char* name, std::function<void(benchmark::State&)> body,
                             int iterations, int repetitions) {
        benchmark::RegisterBenchmark(name, [body](benchmark::State& state) { body(state); })
            ->UseManualTime()
            ->Iterations(smoke ? 1 : iterations)
            ->Repetitions(smoke ? 1 : repetitions + 1);
    };
    add(
        "efforts/all", [c](benchmark::State& s) { efforts(s, *c, false); }, 20, 10);
    add(
        "efforts/floor", [c](benchmark::State& s) { efforts(s, *c, true); }, 20, 10);
    add(
        "analysis/efforts/floor", [c](benchmark::State& s) { readAll(s, *c); }, 1, 3);
    add(
        "analysis/efforts/first",
        [c](benchmark::State& s) { openAnalysis(s, *c, Opening::EmptyCache); }, 1, 5);
    add(
        "analysis/efforts/later",
        [c](benchmark::State& s) { openAnalysis(s, *c, Opening::Cached); }, 1, 10);
    add(
        "analysis/efforts/bare",
        [c](benchmark::State& s) { openAnalysis(s, *c, Opening::NoFiles); }, 1, 10);
}

} // namespace torvanu::bench
