#include "analysis_window/effort_finder.h"

#include <QCoreApplication>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <utility>

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

namespace {

// One thread fewer than the machine has, so the window keeps a core while files are read.
// The application owns it and waits for its last reading when it ends.
QThreadPool* readingPool()
{
    static QThreadPool* const pool = [] {
        auto* made = new QThreadPool(QCoreApplication::instance());
        made->setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
        return made;
    }();
    return pool;
}

} // namespace

void EffortFinder::find(const std::vector<EffortSource>& sources, bool recheck)
{
    m_sources = sources;
    if (recheck)
        m_known.clear();
    if (m_watcher) {
        // What was found so far is kept; the rest is looked at again if still wanted.
        m_watcher->disconnect(this);
        m_watcher->cancel();
        takeResults();
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_looking.clear();
    QSet<QString> asked;
    for (const EffortSource& source : m_sources) {
        if (!m_known.contains(source.id) && !asked.contains(source.id)) {
            asked.insert(source.id);
            m_looking.append(source);
        }
    }
    if (!m_looking.isEmpty()) {
        m_watcher = new QFutureWatcher<EffortLookup>(this);
        // Qt spaces the progress signals out; the results are taken in one go at the end.
        connect(m_watcher, &QFutureWatcherBase::progressValueChanged, this, [this](int value) {
            m_progress.done = std::min(m_knownAtStart + value, m_progress.files);
            emit progressed();
        });
        connect(m_watcher, &QFutureWatcherBase::finished, this, &EffortFinder::readingFinished);
        // The sources and a snapshot of the cache are copied into the future: the looking
        // needs nothing of this object, which may be gone before it ends.
        m_watcher->setFuture(QtConcurrent::mapped(
            readingPool(), m_looking, [cached = m_cache.entries()](const EffortSource& source) {
                return lookUpEfforts(source, cached);
            }));
    }
    count();
    m_knownAtStart = m_progress.done;
    emit found(); // what is known already, while the rest is looked at
}

void EffortFinder::takeResults()
{
    const QFuture<EffortLookup> future = m_watcher->future();
    for (int i = 0; i < m_looking.size(); ++i) {
        if (!future.isResultReadyAt(i))
            continue;
        const EffortLookup lookup = future.resultAt(i);
        m_known.insert(m_looking[i].id, lookup.key);
        if (lookup.key && !lookup.fromCache) {
            m_cache.insert(*lookup.key, lookup.efforts);
            m_unsaved = true;
        }
    }
}

void EffortFinder::readingFinished()
{
    takeResults();
    m_watcher->deleteLater();
    m_watcher = nullptr;
    m_looking.clear();
    // Written only when a file was read: an edit of the book that only looked at files must
    // not wait for a disk.
    if (std::exchange(m_unsaved, false)) {
        QList<EffortKey> keys;
        for (const EffortSource& source : m_sources) {
            if (const auto it = m_known.constFind(source.id); it != m_known.cend() && *it)
                keys.append(**it);
        }
        // A cache that cannot be written only costs the next opening its reading again; the
        // analysis itself is whole, so the user is not troubled with it.
        [[maybe_unused]] const std::optional<AtomicWriteError> saved = m_cache.save(keys);
    }
    count();
    emit found();
}

const FileEfforts* EffortFinder::effortsOf(const EffortSource& source, bool& known) const
{
    const auto it = m_known.constFind(source.id);
    known = it != m_known.cend();
    return known && *it ? m_cache.find(**it) : nullptr;
}

std::vector<const FileEfforts*> EffortFinder::efforts(std::span<const int> raceOfRow,
                                                      int races) const
{
    std::vector<const FileEfforts*> efforts(static_cast<std::size_t>(races), nullptr);
    for (const EffortSource& source : m_sources) {
        if (source.row < 0 || source.row >= static_cast<int>(raceOfRow.size()))
            continue;
        const int race = raceOfRow[static_cast<std::size_t>(source.row)];
        bool known = false;
        const FileEfforts* found = effortsOf(source, known);
        if (race >= 0 && race < races)
            efforts[static_cast<std::size_t>(race)] = found;
    }
    return efforts;
}

void EffortFinder::count()
{
    m_progress = {};
    m_progress.reading = reading();
    m_progress.files = static_cast<int>(m_sources.size());
    for (const EffortSource& source : m_sources) {
        bool known = false;
        const FileEfforts* found = effortsOf(source, known);
        if (!known)
            continue;
        ++m_progress.done;
        if (!found || !found->readable)
            ++m_progress.unreadable;
    }
}

} // namespace torvanu
