#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

namespace torvanu::test {

// A file's path (with "/" between folders) and its bytes.
using FileEntry = QPair<QString, QByteArray>;

// A FIT activity as a watch writes it: one session of the sport (1 running, 2 cycling) from
// start, with its distance and elapsed time, and a record at each end.
QByteArray fitActivity(const QDateTime& startUtc, int seconds, double metres, int sport = 1);

// A GPX track of two timed points along the equator, named as given.
QByteArray namedGpx(const QString& name, const QDateTime& startUtc, int seconds, double metres);

// A zip archive of the entries, deflated, in the order given. The entry named damaged (if
// any) has bytes in the middle of its compressed data turned over.
QByteArray zipArchive(const QList<FileEntry>& entries, const QString& damaged = {});

// The same archive written straight into a file, for histories too large to hold twice.
bool writeZipArchive(const QString& path, const QList<FileEntry>& entries);

// Writes every entry under folder, making the subfolders.
bool writeTree(const QString& folder, const QList<FileEntry>& entries);

} // namespace torvanu::test
