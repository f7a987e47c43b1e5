#pragma once

#include "views/analysis/effort_cache.h"
#include "views/analysis/effort_reading.h"
#include "views/analysis/effort_view.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>

#include <optional>
#include <vector>

namespace torvanu {

// Finds the best efforts in the data files of the book's races: from the cache when a file
// is as it was, else by reading it on the thread pool while the window stays usable. Each
// new list of races cancels the reading of the last one; what was read by then is kept.
class EffortFinder : public QObject
{
    Q_OBJECT

public:
    explicit EffortFinder(QString cachePath, QObject* parent = nullptr);
    // Leaves a reading under way to end by itself: nothing it runs refers to this object.
    ~EffortFinder() override;

    // One job per race, nothing for a race without a data file; missingFiles counts the
    // races whose file is named but not there.
    void find(std::vector<std::optional<EffortJob>> jobs, int missingFiles);

    // One per race of the last find(), null while unknown or without a file.
    std::vector<const FileEfforts*> efforts() const;
    EffortProgress progress() const { return m_progress; }
    bool reading() const { return m_progress.reading; }

signals:
    void progressed();
    void found(); // efforts() changed

private:
    void startReading(QList<EffortJob> missing);
    void resultReady(int index);
    void readingFinished();
    void count();

    EffortCache m_cache;
    std::vector<std::optional<EffortJob>> m_jobs;
    QList<EffortJob> m_reading; // the jobs of m_watcher, in its order
    QFutureWatcher<FileEfforts>* m_watcher = nullptr;
    EffortProgress m_progress;
    int m_missingFiles = 0; // named, but not there
};

} // namespace torvanu
