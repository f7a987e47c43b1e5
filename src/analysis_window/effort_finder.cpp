#include "analysis_window/effort_finder.h"

#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>

namespace torvanu {

EffortFinder::EffortFinder(QString cachePath, QObject* parent)
    : QObject(parent), m_cache(std::move(cachePath))
{
    m_cache.load();
}

EffortFinder::~EffortFinder()
{
    if (m_watcher)
        m_watcher->cancel();
}

void EffortFinder::find(std::vector<std::optional<EffortJob>> jobs, int missingFiles)
{
    m_jobs = std::move(jobs);
    m_missingFiles = missingFiles;
    QList<EffortJob> missing;
    for (const std::optional<EffortJob>& job : m_jobs) {
        if (job && !m_cache.find(job->key) &&
            std::none_of(missing.cbegin(), missing.cend(),
                         [&](const EffortJob& other) { return other.key == job->key; }))
            missing.append(*job);
    }
    startReading(std::move(missing));
}

void EffortFinder::startReading(QList<EffortJob> missing)
{
    if (m_watcher) {
        // Results already reported were kept; the rest of the old list may still be wanted
        // and is then in missing.
        m_watcher->disconnect(this);
        m_watcher->cancel();
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_reading = std::move(missing);
    if (m_reading.isEmpty()) {
        count();
        emit found();
        return;
    }
    m_watcher = new QFutureWatcher<FileEfforts>(this);
    connect(m_watcher, &QFutureWatcherBase::resultReadyAt, this, &EffortFinder::resultReady);
    connect(m_watcher, &QFutureWatcherBase::finished, this, &EffortFinder::readingFinished);
    // The list is copied into the future and the function is a free one: the reading needs
    // nothing of this object, which may be gone before it ends.
    m_watcher->setFuture(QtConcurrent::mapped(m_reading, readFileEfforts));
    count();
    emit found(); // the cached efforts, while the rest is read
}

void EffortFinder::resultReady(int index)
{
    if (!m_watcher || index < 0 || index >= m_reading.size())
        return;
    m_cache.insert(m_reading[index].key, m_watcher->resultAt(index));
    count();
    emit progressed();
}

void EffortFinder::readingFinished()
{
    m_watcher->deleteLater();
    m_watcher = nullptr;
    m_reading.clear();
    count();
    QList<EffortKey> keys;
    for (const std::optional<EffortJob>& job : m_jobs) {
        if (job)
            keys.append(job->key);
    }
    // A cache that cannot be written only costs the next opening its reading again; the
    // analysis itself is whole, so the user is not troubled with it.
    [[maybe_unused]] const std::optional<AtomicWriteError> saved = m_cache.save(keys);
    emit found();
}

void EffortFinder::count()
{
    m_progress = {};
    m_progress.reading = m_watcher != nullptr;
    for (const std::optional<EffortJob>& job : m_jobs) {
        if (!job)
            continue;
        ++m_progress.files;
        if (const FileEfforts* efforts = m_cache.find(job->key)) {
            ++m_progress.done;
            if (!efforts->readable)
                ++m_progress.unreadable;
        }
    }
    m_progress.files += m_missingFiles;
    m_progress.done += m_missingFiles;
    m_progress.unreadable += m_missingFiles;
}

std::vector<const FileEfforts*> EffortFinder::efforts() const
{
    std::vector<const FileEfforts*> efforts;
    efforts.reserve(m_jobs.size());
    for (const std::optional<EffortJob>& job : m_jobs)
        efforts.push_back(job ? m_cache.find(job->key) : nullptr);
    return efforts;
}

} // namespace torvanu
