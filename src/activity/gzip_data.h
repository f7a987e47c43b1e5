#pragma once

#include "activity/activity.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace torvanu {

// Whether the bytes begin as gzip does (.fit.gz, .gpx.gz, .tcx.gz as services export them).
bool isGzip(QByteArrayView bytes);

struct Inflated
{
    QByteArray bytes;
    std::optional<ActivityError::Kind> error; // GzipDamaged or GzipTooLarge
};

// The data of one or more gzip members one after another. Inflating stops as soon as the
// data passes the limit: a few kilobytes that would inflate to gigabytes cost no more than
// the limit.
Inflated inflateGzip(QByteArrayView bytes, qsizetype limit);

} // namespace torvanu
