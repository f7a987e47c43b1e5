#pragma once

#include "history/archive_reader.h"

#include <QString>

namespace torvanu {

// The words the import window shows for what a scan could not read.
QString memberProblemText(const ArchiveMember& member);
QString archiveErrorText(const ArchiveError& error);
QString missingSourceText(const QString& path);
QString tooManyFilesText();
QString unreadableCsvText();
// Why an archive whose members do not add up is shown only in part.
QString memberCountMismatchText();

} // namespace torvanu
