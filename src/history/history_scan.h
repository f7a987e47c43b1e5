#pragma once

#include "history/found_activity.h"

#include <QString>

#include <atomic>
#include <functional>

namespace torvanu {

// A folder is walked without following symbolic links, so a link back up cannot make it loop;
// past this many data files it is not a watch's or an export's folder.
inline constexpr qsizetype kMaxFolderFiles = 100'000;

// Shared between the scan and whoever watches it; every member may be read from any thread.
struct ScanControl
{
    std::atomic<bool> cancel{false}; // seen between files and inside long archive members
    std::atomic<qsizetype> filesFound{0};
    std::atomic<qsizetype> filesRead{0};
    // Called after each file, from the thread that read it (tests stop a scan midway).
    std::function<void(qsizetype filesRead)> afterFile;
};

// The data files (.fit, .gpx, .tcx, each also .gz) of a folder and its subfolders, of a zip
// archive read in place, or a single data file, read on threads (0: one per core). Only
// summaries are kept. A cancelled scan returns what it read up to then.
HistoryScan scanHistory(const QString& source, ScanControl& control, int threads = 0);

// .fit, .gpx, .tcx and the same with .gz, in any case.
bool isActivityFileName(const QString& name);

// Whether the file is a zip archive, by its first bytes.
bool isZipArchive(const QString& path);

} // namespace torvanu
