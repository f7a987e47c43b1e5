#include "history_cases.h"

#include "activity_generator.h"
#include "child_process.h"
#include "hostile_files.h"
#include "silent_dialogs.h"
#include "support/history_files.h"

#include "history/history_copy.h"
#include "history/history_scan.h"
#include "records/record_model.h"
#include "record_book/record_book.h"
#include "views/import/history_records.h"

#include <QDate>
#include <QDir>
#include <QWidget>

#include <optional>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

constexpr int kFiles = 1000;
constexpr int kSmokeFiles = 10;
constexpr int kActivitySeconds = 60 * 60;
constexpr int kSmokeSeconds = 60;
constexpr int kAddedRows = 500;
constexpr int kSmokeAddedRows = 5;

struct History
{
    QString folder;
    QString archive;
    int files = 0;
    QStringList fitFiles; // paths in the folder
};

// 60 % FIT, 30 % GPX, 10 % TCX, every other file gzip-compressed, with the export's list.
std::optional<History> generatedHistory(const BenchContext& context)
{
    static std::optional<History> made;
    if (made)
        return made;
    const int files = context.smoke ? kSmokeFiles : kFiles;
    const int seconds = context.smoke ? kSmokeSeconds : kActivitySeconds;
    const QByteArray fit = generateFitRun(seconds);
    const QByteArray gpx = generateGpxRun(seconds);
    const QByteArray tcx = generateTcxRun(seconds);
    const QByteArray fitGz = gzipped(fit);
    const QByteArray gpxGz = gzipped(gpx);
    const QByteArray tcxGz = gzipped(tcx);
    QList<test::FileEntry> entries;
    QStringList fitFiles;
    QByteArray csv = "Activity ID,Activity Name,Filename\n";
    for (int i = 0; i < files; ++i) {
        const int kind = i % 10; // 0-5 FIT, 6-8 GPX, 9 TCX
        const bool gz = i % 2 == 1;
        const QString extension = kind < 6 ? u".fit"_s : kind < 9 ? u".gpx"_s : u".tcx"_s;
        const QByteArray& plain = kind < 6 ? fit : kind < 9 ? gpx : tcx;
        const QByteArray& packed = kind < 6 ? fitGz : kind < 9 ? gpxGz : tcxGz;
        const QString name = u"activities/%1%2%3"_s.arg(i).arg(extension, gz ? u".gz"_s : u""_s);
        entries.append({name, gz ? packed : plain});
        if (kind < 6)
            fitFiles.append(name);
        csv += QByteArray::number(i) + ",\"Run, number " + QByteArray::number(i) + "\"," +
               name.toUtf8() + "\n";
    }
    entries.append({u"activities.csv"_s, csv});
    History history{QDir(context.root).filePath(u"history"_s),
                    QDir(context.root).filePath(u"history.zip"_s),
                    files,
                    {}};
    for (const QString& name : fitFiles)
        history.fitFiles.append(QDir(history.folder).filePath(name));
    if (!test::writeTree(history.folder, entries) ||
        !test::writeZipArchive(history.archive, entries))
        return std::nullopt;
    made = history;
    return made;
}

// One scan in a child process: its time, and its peak memory beside it.
void scanHistoryCase(benchmark::State& state, BenchContext& context, bool archive, int threads)
{
    const std::optional<History> history = generatedHistory(context);
    if (!history) {
        state.SkipWithError("could not write the generated history");
        return;
    }
    const std::string name = std::string("history/") + (archive ? "archive" : "folder") +
                             (threads == 1 ? "/one-thread" : "");
    const ChildRequest request{
        QDir(context.programDir).filePath(u"torvanu_bench_history_scan"_s),
        {archive ? history->archive : history->folder, QString::number(threads)},
        {},
        {},
        {}};
    for (auto _ : state) {
        const ChildRun run = runChild(request);
        const QList<QByteArray> fields = run.output.trimmed().split(' ');
        if (run.exitCode != 0 || fields.size() < 3 || fields[2].toInt() != history->files) {
            state.SkipWithError("the scan did not find every file");
            return;
        }
        state.SetIterationTime(fields[0].toDouble());
        context.samples->add("rss/" + name, fields[1].toDouble());
    }
}

// 500 ticked rows from the folder: their files copied into a fresh data folder, the rows made
// and appended to a book as the window appends them, journal and all.
void addRows(benchmark::State& state, BenchContext& context)
{
    const std::optional<History> history = generatedHistory(context);
    if (!history) {
        state.SkipWithError("could not write the generated history");
        return;
    }
    const int rows = std::min(static_cast<int>(history->fitFiles.size()),
                              context.smoke ? kSmokeAddedRows : kAddedRows);
    QList<FoundActivity> ticked;
    QStringList files;
    for (int i = 0; i < rows; ++i) {
        FoundActivity activity;
        activity.file = history->fitFiles[i];
        activity.sport = Sport::Running;
        activity.start = QDateTime(QDate(2020, 1, 1).addDays(i), QTime(9, 0), QTimeZone::utc());
        activity.elapsed = 3600;
        activity.distance = 10000;
        ticked.append(activity);
        files.append(activity.file);
    }
    // A fresh book every time: a journal left by an earlier run would be offered back.
    static int run = 0;
    for (auto _ : state) {
        const QString data = QDir(context.root).filePath(u"add-%1"_s.arg(run++));
        QDir().mkpath(data);
        SilentDialogs dialogs;
        QWidget client;
        RecordBook book(&client, {dialogs, {}, {}, [] { return QDate::currentDate(); }}, data, data,
                        data);
        book.LoadLogData();
        book.RestoreUnsavedChanges();
        const auto start = Clock::now();
        const HistoryCopies copies =
            copyIntoDataFolder(SourceKind::Folder, history->folder, files, data);
        book.appendRecords(historyRecords(ticked, copies.paths, QTimeZone::utc()));
        state.SetIterationTime(secondsSince(start));
        if (book.model().rowCount() != rows) {
            context.samples->notes["history/add:problem"] =
                std::to_string(book.model().rowCount()) + " rows of " + std::to_string(rows) +
                ", " + std::to_string(copies.problems.size()) + " copies failed";
            state.SkipWithError("the rows were not added");
            return;
        }
    }
}

} // namespace

void registerHistoryCases(BenchContext& context)
{
    BenchContext* c = &context;
    for (const bool archive : {false, true}) {
        for (const int threads : {0, 1}) {
            const std::string name = std::string("history/") + (archive ? "archive" : "folder") +
                                     (threads == 1 ? "/one-thread" : "");
            benchmark::RegisterBenchmark(name.c_str(),
                                         [c, archive, threads](benchmark::State& s) {
                                             scanHistoryCase(s, *c, archive, threads);
                                         })
                ->UseManualTime()
                ->Iterations(1)
                ->Repetitions(context.smoke ? 1 : 4);
        }
    }
    benchmark::RegisterBenchmark("history/add", [c](benchmark::State& s) { addRows(s, *c); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(context.smoke ? 1 : 6);
}

} // namespace torvanu::bench
