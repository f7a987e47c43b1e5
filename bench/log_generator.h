#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace torvanu::bench {

// Lines of a runner's record book as the program writes them: numbered, with the date, race
// name, distance and time cells in the editor's forms, remarks, and now and then a data
// file. The same count and seed always give the same lines.
QStringList generateLogLines(qsizetype count, std::uint32_t seed = 20061119);

struct GeneratedLog
{
    QString path;          // log.dat in code page 932, lines ending in CR LF
    qint64 bytes = 0;      // its size
    qint64 characters = 0; // its text's length in UTF-16 code units, line ends included
};

// Writes the lines to folder/log.dat; nothing when a line cannot be encoded or written.
std::optional<GeneratedLog> writeLogFile(const QString& folder, const QStringList& lines);

// The same text as UTF-8, for the converter the saving is compared with.
bool writeUtf8File(const QString& path, const QStringList& lines);

} // namespace torvanu::bench
