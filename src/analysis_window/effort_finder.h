#pragma once

#include "views/analysis/effort_cache.h"
#include "views/analysis/effort_reading.h"
#include "views/analysis/effort_view.h"

#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QObject>

#include <optional>
#include <span>
#include <vector>

namespace torvanu {

// Finds the best efforts in the data files of the book's races, on the thread pool, while the
// window stays usable: each file is looked at (its size and time), taken from the cache when
// it did not change, else read. A new list of races cancels the looking of the last one; what
// was found by then is kept.
class EffortFinder : public QObject
{
    Q_OBJECT

public:
    explicit EffortFinder(QString cachePath, QObject* parent = nullptr);
    // Leaves a reading under way to end by itself: nothing it runs refers to this object.
    ~EffortFinder() override;

    // The races of the book that name a data file. A source met before keeps what its file
    // was then, so an edit looks only at the races it changed; with recheck, every file is
    // looked at again.
    void find(const std::vector<EffortSource>& sources, bool recheck);

    // One per race, null while unknown or without a file; raceOfRow gives each row of the
    // book its race, or -1.
    std::vector<const FileEfforts*> efforts(std::span<const int> raceOfRow, int races) const;
    EffortProgress progress() const { return m_progress; }
    bool reading() const { return m_watcher != nullptr; }

signals:
    void progressed();
    void found(); // efforts() changed

private:
    void takeResults();
    void readingFinished();
    const FileEfforts* effortsOf(const EffortSource& source, bool& known) const;
    void count();

    EffortCache m_cache;
    std::vector<EffortSource> m_sources;
    // By EffortSource::id: the file as it was when looked at, or nothing when not there.
    QHash<QString, std::optional<EffortKey>> m_known;
    QList<EffortSource> m_looking; // the sources of m_watcher, in its order
    QFutureWatcher<EffortLookup>* m_watcher = nullptr;
    // Counted over every source when a search starts and ends; in between, the files found
    // are added to what was known at the start, so that progress costs no pass over the book.
    EffortProgress m_progress;
    int m_knownAtStart = 0;
    bool m_unsaved = false; // files were read since the cache file was written
};

} // namespace torvanu
