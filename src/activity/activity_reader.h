#pragma once

#include "activity/activity.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace torvanu {

// A data file larger than this is refused before a byte of it is read; a compressed one is
// refused as soon as it inflates past it.
constexpr qint64 kMaxActivityFileBytes = 64 * 1024 * 1024;

// The format by the bytes alone; a file's name says nothing.
std::optional<ActivityFormat> detectActivityFormat(QByteArrayView bytes);

// A gzip file (.fit.gz, .gpx.gz, .tcx.gz) is read as the file it holds, the size limit
// applied to that file.
ActivityReadResult readActivity(QByteArrayView bytes);

ActivityReadResult readActivityFile(const QString& path);

} // namespace torvanu
