#pragma once

#include "activity/activity.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace torvanu {

// A data file larger than this is refused before a byte of it is read.
constexpr qint64 kMaxActivityFileBytes = 64 * 1024 * 1024;

// The format by the bytes alone; a file's name says nothing.
std::optional<ActivityFormat> detectActivityFormat(QByteArrayView bytes);

ActivityReadResult readActivity(QByteArrayView bytes);

ActivityReadResult readActivityFile(const QString& path);

} // namespace torvanu
