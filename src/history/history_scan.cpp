#include "history/history_scan.h"

#include "activity/activity_reader.h"
#include "activity/activity_texts.h"
#include "history/archive_reader.h"
#include "history/export_index.h"
#include "history/scan_texts.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <array>
#include <vector>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr std::array kActivitySuffixes = {u".fit",    u".gpx",    u".tcx",
                                          u".fit.gz", u".gpx.gz", u".tcx.gz"};

// The results of one file, written by the thread that read it into a slot of its own.
using Slots = std::vector<QList<FoundActivity>>;

QList<FoundActivity> summarise(const QString& file, const ActivityReadResult& read)
{
    QList<FoundActivity> found;
    if (read.error) {
        FoundActivity unreadable;
        unreadable.file = file;
        unreadable.problem = activityErrorText(*read.error);
        found.append(unreadable);
        return found;
    }
    for (qsizetype i = 0; i < read.activities.size(); ++i) {
        const Activity& activity = read.activities[i];
        FoundActivity summary;
        summary.file = file;
        summary.index = static_cast<int>(i);
        summary.sport = activity.sport;
        summary.start = activity.start.utc;
        summary.timed = activity.timed;
        summary.elapsed = activity.elapsed;
        summary.distance = activity.distance;
        summary.name = activity.name;
        found.append(summary);
    }
    return found;
}

FoundActivity problemRow(const QString& file, const QString& problem)
{
    FoundActivity row;
    row.file = file;
    row.problem = problem;
    return row;
}

bool isExportIndex(const QString& path)
{
    return ExportIndex::keyOf(path) == ExportIndex::kFileName;
}

void countRead(ScanControl& control)
{
    const qsizetype read = control.filesRead.fetch_add(1) + 1;
    if (control.afterFile)
        control.afterFile(read);
}

int threadCount(int threads)
{
    return threads > 0 ? threads : std::max(1, QThread::idealThreadCount());
}

// Names and race marks from the export's own list, where it names the file.
void applyIndex(QList<FoundActivity>& found, const ExportIndex& index)
{
    if (index.size() == 0)
        return;
    for (FoundActivity& activity : found) {
        if (const ExportEntry* entry = index.find(activity.file)) {
            if (!entry->name.isEmpty())
                activity.name = entry->name;
            activity.raceMarked = entry->race;
        }
    }
}

QList<FoundActivity> gathered(Slots& results)
{
    QList<FoundActivity> found;
    for (QList<FoundActivity>& one : results)
        found.append(std::move(one));
    return found;
}

void scanFolder(HistoryScan& scan, ScanControl& control, int threads)
{
    QStringList files;
    QString indexPath;
    int indexDepth = std::numeric_limits<int>::max();
    // No FollowSymlinks: a linked folder is not entered, so no link can lead the walk round.
    QDirIterator walk(scan.source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (walk.hasNext()) {
        if (control.cancel.load()) {
            scan.cancelled = true;
            return;
        }
        const QString path = walk.next();
        if (isExportIndex(path)) {
            const int depth = static_cast<int>(path.count(u'/'));
            if (depth < indexDepth) {
                indexDepth = depth;
                indexPath = path;
            }
            continue;
        }
        if (!isActivityFileName(path))
            continue;
        if (files.size() == kMaxFolderFiles) {
            scan.problem = tooManyFilesText();
            return;
        }
        files.append(path);
    }
    files.sort();
    control.filesFound.store(files.size());

    Slots results(static_cast<std::size_t>(files.size()));
    QThreadPool pool;
    pool.setMaxThreadCount(threadCount(threads));
    for (qsizetype i = 0; i < files.size(); ++i) {
        pool.start([&control, &results, path = files[i], slot = static_cast<std::size_t>(i)] {
            if (control.cancel.load())
                return;
            results[slot] = summarise(path, readActivityFile(path));
            countRead(control);
        });
    }
    ExportIndex index;
    if (!indexPath.isEmpty()) {
        QFile csv(indexPath);
        if (csv.size() > kMaxMemberBytes)
            scan.problem = unreadableCsvText();
        else if (csv.open(QIODevice::ReadOnly))
            index = ExportIndex::fromCsv(csv.readAll());
    }
    pool.waitForDone();
    scan.cancelled = control.cancel.load();
    scan.found = gathered(results);
    applyIndex(scan.found, index);
}

void scanArchive(HistoryScan& scan, ScanControl& control, int threads)
{
    const ArchiveReader reader = ArchiveReader::ofFile(scan.source);
    const auto wanted = [](const QString& path) {
        return isActivityFileName(path) || isExportIndex(path) ||
               ArchiveReader::leavesArchive(path);
    };
    qsizetype members = 0;
    std::optional<ArchiveError> error = reader.list(
        [&](const QString& path) {
            if (wanted(path) && !isExportIndex(path))
                ++members;
        },
        &control.cancel);
    if (error) {
        scan.cancelled = error->kind == ArchiveError::Kind::Cancelled;
        scan.problem = archiveErrorText(*error);
        return;
    }
    control.filesFound.store(members);

    const int workers = threadCount(threads);
    Slots results(static_cast<std::size_t>(members));
    ExportIndex index;
    QThreadPool pool;
    pool.setMaxThreadCount(workers);
    // Members wait in memory only while a thread is free for them: two per thread.
    QSemaphore inFlight(2 * workers);
    std::size_t next = 0;
    bool moreThanListed = false;
    error = reader.read(
        wanted,
        [&](ArchiveMember&& member) {
            if (isExportIndex(member.path) && member.problem == ArchiveMember::Problem::None) {
                index = ExportIndex::fromCsv(member.bytes);
                return true;
            }
            if (isExportIndex(member.path))
                return true;
            if (next >= results.size()) {
                // A damaged archive can show more members to the reading than to the listing
                // (or it changed between the two): the rest is not dropped unsaid.
                moreThanListed = true;
                return false;
            }
            const std::size_t slot = next++;
            if (member.problem != ArchiveMember::Problem::None) {
                results[slot] = {problemRow(member.path, memberProblemText(member))};
                countRead(control);
                return !control.cancel.load();
            }
            inFlight.acquire();
            pool.start([&control, &results, &inFlight, slot, path = member.path,
                        bytes = std::move(member.bytes)] {
                if (!control.cancel.load()) {
                    results[slot] = summarise(path, readActivity(bytes));
                    countRead(control);
                }
                inFlight.release();
            });
            return !control.cancel.load();
        },
        &control.cancel);
    pool.waitForDone();
    scan.cancelled = control.cancel.load();
    if (error && error->kind != ArchiveError::Kind::Cancelled)
        scan.problem = archiveErrorText(*error);
    else if (moreThanListed && !scan.cancelled)
        scan.problem =
            archiveErrorText({ArchiveError::Kind::Unreadable, memberCountMismatchText()});
    scan.found = gathered(results);
    applyIndex(scan.found, index);
}

} // namespace

bool isActivityFileName(const QString& name)
{
    for (const char16_t* suffix : kActivitySuffixes) {
        if (name.endsWith(QStringView(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool isZipArchive(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == "PK\x03\x04" || head == "PK\x05\x06";
}

HistoryScan scanHistory(const QString& source, ScanControl& control, int threads)
{
    HistoryScan scan;
    const QFileInfo info(source);
    scan.source = info.absoluteFilePath();
    if (!info.exists()) {
        scan.problem = missingSourceText(source);
        return scan;
    }
    if (info.isDir()) {
        scan.kind = SourceKind::Folder;
        scanFolder(scan, control, threads);
    } else if (isZipArchive(scan.source) || source.endsWith(u".zip"_s, Qt::CaseInsensitive)) {
        scan.kind = SourceKind::Archive;
        scanArchive(scan, control, threads);
    } else {
        scan.kind = SourceKind::File;
        control.filesFound.store(1);
        scan.found = summarise(scan.source, readActivityFile(scan.source));
        countRead(control);
    }
    return scan;
}

} // namespace torvanu
