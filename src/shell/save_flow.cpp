#include "shell/save_flow.h"

#include "shell/dialogs.h"
#include "shell/replace_question.h"
#include "storage/atomic_file.h"

#include <QFileInfo>

namespace torvanu {

namespace {

CsvSaveResult withStatus(CsvSaveResult::Status status, const QString& path,
                         const QString& detail = {})
{
    CsvSaveResult result;
    result.status = status;
    result.path = path;
    result.detail = detail;
    return result;
}

} // namespace

CsvSaveResult saveThroughChooser(Dialogs& dialogs, QWidget* owner, SaveFolders& folders,
                                 const SaveRequest& request, const FileBytes& bytes)
{
    QString path = dialogs.saveFileName(
        owner, {request.title, request.filters, request.folder, request.fileName});
    if (path.isEmpty())
        return {};

    const bool completed = path.right(request.suffix.size()).toLower() != request.suffix;
    if (completed)
        path += request.suffix;
    folders.remember(request.kind, path);

    // The chooser asked about the name as typed; the name with the suffix added is a different
    // file, which would otherwise be replaced unasked.
    if (completed) {
        const QFileInfo existing(path);
        if (existing.exists() && !existing.isDir() &&
            dialogs.message(owner, replaceQuestion(path), Dialogs::Icon::Information,
                            Dialogs::Buttons::YesNo) != Dialogs::Answer::Yes)
            return withStatus(CsvSaveResult::Status::Cancelled, path);
    }

    const std::optional<QByteArray> made = bytes();
    if (!made)
        return withStatus(CsvSaveResult::Status::WriteFailed, path);
    if (const auto error = writeFileAtomically(path, *made))
        return withStatus(CsvSaveResult::Status::WriteFailed, path, error->detail);
    return withStatus(CsvSaveResult::Status::Saved, path);
}

} // namespace torvanu
