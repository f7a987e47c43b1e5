#include "shell/save_failure.h"

#include "shell/dialogs.h"
#include "shell/failure_texts.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace torvanu {

QString saveFailureDetail(const CsvSaveResult& result)
{
    switch (result.status) {
    case CsvSaveResult::Status::Saved:
    case CsvSaveResult::Status::Cancelled:
        return {};
    case CsvSaveResult::Status::Unencodable:
        return kUnencodableReason.toString().arg(QString::fromUcs4(&result.character, 1));
    case CsvSaveResult::Status::WriteFailed:
        break;
    }
    const QString reason = result.detail.isEmpty() ? kUnknownReason.toString() : result.detail;
    // Refused before a name was chosen: there is no file to name.
    if (result.path.isEmpty())
        return reason;
    return kNotWrittenMessage.toString().arg(QDir::toNativeSeparators(result.path), reason);
}

bool showSaveFailure(Dialogs& dialogs, QWidget* owner, QStringView text,
                     const CsvSaveResult& result)
{
    const QString detail = saveFailureDetail(result);
    if (detail.isEmpty())
        return false;
    dialogs.messageWithDetail(owner, text.toString(), detail, Dialogs::Icon::Stop);
    return true;
}

} // namespace torvanu
