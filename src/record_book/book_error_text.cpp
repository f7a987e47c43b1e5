#include "record_book/book_error_text.h"

#include "record_book/record_book_texts.h"
#include "records/log_file.h"
#include "records/record_journal.h"
#include "shell/failure_texts.h"

namespace torvanu {

namespace {

QString systemReason(const QString& detail, QStringView fallback)
{
    return detail.isEmpty() ? fallback.toString() : detail;
}

} // namespace

QString logFileErrorReason(const LogFileError& error)
{
    switch (error.kind) {
    case LogFileError::Kind::ReadOnly:
        return kReadOnlyReason.toString();
    case LogFileError::Kind::NoCodec:
        return kNoCodecReason.toString();
    case LogFileError::Kind::Encode:
        return kEncodeReason.toString().arg(error.row);
    case LogFileError::Kind::Read:
        return systemReason(error.detail, kUnknownReadReason);
    case LogFileError::Kind::Write:
    case LogFileError::Kind::Backup:
        break;
    }
    return systemReason(error.detail, kUnknownReason);
}

QString journalErrorReason(const JournalError& error)
{
    switch (error.kind) {
    case JournalError::Kind::NotJournal:
        return kNotJournalReason.toString();
    case JournalError::Kind::Read:
        return systemReason(error.detail, kUnknownReadReason);
    case JournalError::Kind::Write:
        break;
    }
    return systemReason(error.detail, kUnknownReason);
}

} // namespace torvanu
