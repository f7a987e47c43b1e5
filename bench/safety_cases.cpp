#include "safety_cases.h"

#include "silent_dialogs.h"

#include "main_window/form1.h"
#include "record_book/record_book.h"
#include "record_book/record_list_view.h"
#include "records/record_change.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "shell/single_window.h"
#include "storage/append_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QWindow>

#include <chrono>
#include <functional>

using namespace Qt::StringLiterals;

namespace torvanu::bench {

namespace {

QString freshFolder(const BenchContext& context, const QString& name)
{
    const QString folder = QDir(context.root).filePath(name);
    QDir(folder).removeRecursively();
    return QDir().mkpath(folder) ? folder : QString();
}

// One record added as the editor adds it, applied to the list and flushed to the journal.
void journalChange(benchmark::State& state, BenchContext& context)
{
    const QString folder = freshFolder(context, u"journal"_s);
    RecordModel model;
    RecordJournal journal(folder);
    journal.setBase(BookFingerprint{}, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const RaceRecord race{u"1"_s,        u"2024年04月01日"_s, u"市民マラソン"_s,
                          u"42.195km"_s, u" 3時間45分10秒"_s, u"自己ベスト"_s,
                          QString()};
    for (auto _ : state) {
        RaceRecord added = race;
        added.no = QString::number(model.rowCount() + 1);
        const RecordChange change = RecordChange::added(added);
        const auto start = Clock::now();
        const bool applied = applyRecordChange(model, change);
        const auto error = journal.append(change);
        const double seconds = secondsSince(start);
        if (!applied || error) {
            state.SkipWithError("the change was not journalled");
            return;
        }
        state.SetIterationTime(seconds);
        context.samples->add("safety/journal:change", seconds);
    }
}

// The floor: the same flush, of a file that holds nothing.
void journalFloor(benchmark::State& state, BenchContext& context)
{
    const QString folder = freshFolder(context, u"journal-floor"_s);
    AppendFile file(QDir(folder).filePath(u"empty"_s));
    if (file.create(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        state.SkipWithError("could not create the empty file");
        return;
    }
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto error = file.append({});
        const double seconds = secondsSince(start);
        if (error) {
            state.SkipWithError("fdatasync failed");
            return;
        }
        state.SetIterationTime(seconds);
        context.samples->add("safety/journal/floor:flush", seconds);
    }
}

// What a start spends deciding that it is the book's only window: the lock, the socket.
void singleWindowClaim(benchmark::State& state, BenchContext& context)
{
    const QString book = QDir(freshFolder(context, u"claim"_s)).filePath(u"log.dat"_s);
    for (auto _ : state) {
        const auto start = Clock::now();
        SingleWindow window(book);
        const SingleWindow::Claim claim = window.claim();
        const double seconds = secondsSince(start);
        if (claim != SingleWindow::Claim::Owner) {
            state.SkipWithError("another window held the book");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// A book of one record, its remark hugeBytes long (0: an ordinary one), loaded by the main
// window and shown in the detail view, up to its first paint.
void hugeCell(benchmark::State& state, BenchContext& context, qsizetype remarkCharacters)
{
    const QString folder =
        freshFolder(context, remarkCharacters > 100 ? u"huge-cell"_s : u"huge-cell-floor"_s);
    // The cells other than the remark only need to be there: plain ASCII will do.
    QByteArray line = "1,2024-04-01,a,42.195km,3:05:00,";
    line.append(QByteArray(remarkCharacters, 'x'));
    line.append(",\r\n");
    QFile file(QDir(folder).filePath(u"log.dat"_s));
    if (folder.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(line) != line.size()) {
        state.SkipWithError("could not write log.dat");
        return;
    }
    file.close();
    for (auto _ : state) {
        const auto start = Clock::now();
        SilentDialogs dialogs;
        Form1 form(dialogs, Form1Folders{folder, folder, folder, folder});
        form.Form_Load();
        form.findChild<QCheckBox*>(u"Check1"_s)->setChecked(true);
        form.show();
        while (!(form.windowHandle() && form.windowHandle()->isExposed()) &&
               secondsSince(start) < 30)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        form.recordBook().listView()->viewport()->repaint();
        form.repaint();
        const double seconds = secondsSince(start);
        if (form.recordBook().model().rowCount() != 1 || dialogs.messages() != 0) {
            state.SkipWithError("the book did not load whole");
            return;
        }
        state.SetIterationTime(seconds);
        form.hide();
    }
}

} // namespace

void registerSafetyCases(BenchContext& context)
{
    const bool smoke = context.smoke;
    BenchContext* c = &context;
    const auto add = [smoke](const std::string& name, std::function<void(benchmark::State&)> body,
                             benchmark::IterationCount iterations, int repetitions) {
        benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) { body(state); })
            ->UseManualTime()
            ->Iterations(smoke ? 1 : iterations)
            ->Repetitions(smoke ? 1 : repetitions + 1);
    };
    add(
        "safety/journal", [c](benchmark::State& s) { journalChange(s, *c); }, 200, 1);
    add(
        "safety/journal/floor", [c](benchmark::State& s) { journalFloor(s, *c); }, 200, 1);
    add(
        "safety/claim", [c](benchmark::State& s) { singleWindowClaim(s, *c); }, 1, 30);
    constexpr qsizetype kHugeRemark = qsizetype(50) << 20;
    add(
        "safety/huge_cell",
        [c, smoke](benchmark::State& s) { hugeCell(s, *c, smoke ? 100'000 : kHugeRemark); }, 1, 3);
    add(
        "safety/huge_cell/floor", [c](benchmark::State& s) { hugeCell(s, *c, 10); }, 1, 3);
}

} // namespace torvanu::bench
