#pragma once

#include <QString>

namespace torvanu {

struct LogFileError;
struct JournalError;

// The cause of a failure of the record book's files, in the words the window shows beneath
// its message: the system's own wording where it gave one.
QString logFileErrorReason(const LogFileError& error);
QString journalErrorReason(const JournalError& error);

} // namespace torvanu
