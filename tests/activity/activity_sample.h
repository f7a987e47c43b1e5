#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace torvanu::test {

// A file under tests/activity/data, such as "gpx/route.gpx". A missing one is a broken
// checkout, not a finding about the reader, so it ends the run.
inline QByteArray activitySample(const QString& path)
{
    QFile file(QStringLiteral(TORVANU_ACTIVITY_DATA "/") + path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing sample %s", qPrintable(path));
    return file.readAll();
}

} // namespace torvanu::test
