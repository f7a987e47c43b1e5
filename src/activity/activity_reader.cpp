#include "activity/activity_reader.h"

#include "activity/fit_reader.h"
#include "activity/gzip_data.h"
#include "activity/huge_pages.h"
#include "activity/gpx_reader.h"
#include "activity/tcx_reader.h"
#include "activity/xml_activity.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace torvanu {

namespace {

ActivityReadResult failed(ActivityError::Kind kind)
{
    ActivityReadResult result;
    result.error = activityError(kind, ActivityFormat::Fit);
    return result;
}

} // namespace

std::optional<ActivityFormat> detectActivityFormat(QByteArrayView bytes)
{
    constexpr qsizetype signatureAt = 8;
    if (bytes.size() >= 12 && bytes.sliced(signatureAt, 4) == QByteArrayView(".FIT"))
        return ActivityFormat::Fit;
    // The first element is near the top: a long file is not decoded twice to find it.
    constexpr qsizetype lookAhead = 64 * 1024;
    const QString root = rootElementName(bytes.first(std::min(bytes.size(), lookAhead)));
    if (root == u"gpx")
        return ActivityFormat::Gpx;
    if (root == u"TrainingCenterDatabase")
        return ActivityFormat::Tcx;
    return std::nullopt;
}

namespace {

ActivityReadResult readInflated(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return failed(ActivityError::Kind::Empty);
    const auto format = detectActivityFormat(bytes);
    if (!format)
        return failed(ActivityError::Kind::Foreign);
    switch (*format) {
    case ActivityFormat::Gpx:
        return readGpx(bytes);
    case ActivityFormat::Tcx:
        return readTcx(bytes);
    case ActivityFormat::Fit:
        return readFit(bytes);
    }
    return failed(ActivityError::Kind::Foreign);
}

} // namespace

ActivityReadResult readActivity(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return failed(ActivityError::Kind::Empty);
    if (bytes.size() > kMaxActivityFileBytes)
        return failed(ActivityError::Kind::TooLarge);
    if (!isGzip(bytes))
        return readInflated(bytes);
    // The limit holds for what the file holds, not for its compressed size.
    const Inflated inflated = inflateGzip(bytes, kMaxActivityFileBytes);
    if (inflated.error)
        return failed(*inflated.error);
    return readInflated(inflated.bytes);
}

ActivityReadResult readActivityFile(const QString& path)
{
    const QFileInfo info(path);
    // Opening a named pipe waits for a writer, with the window frozen until one comes; a
    // watch never writes anything but a plain file.
    if (info.exists() && !info.isFile())
        return failed(ActivityError::Kind::Unreadable);
    if (info.exists() && info.size() > kMaxActivityFileBytes)
        return failed(ActivityError::Kind::TooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(ActivityError::Kind::Unreadable);
    // One byte past the limit tells a file that grew since it was measured; a pipe tells
    // nothing of its size beforehand.
    const qint64 expected =
        file.isSequential() ? kMaxActivityFileBytes : std::min(file.size(), kMaxActivityFileBytes);
    QByteArray bytes(expected + 1, Qt::Uninitialized);
    preferHugePages(bytes.data(), static_cast<std::size_t>(bytes.size()));
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0 || file.error() != QFileDevice::NoError)
        return failed(ActivityError::Kind::Unreadable);
    bytes.truncate(read);
    return readActivity(bytes);
}

} // namespace torvanu
