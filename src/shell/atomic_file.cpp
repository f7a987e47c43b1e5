#include "atomic_file.h"

#include <QSaveFile>

namespace torvanu {

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    // QSaveFile writes beside the target and renames at commit. Unbuffered, because a
    // buffered QSaveFile writes only while committing and does not notice a short write there
    // (a full disk): it would replace the old file with a cut one and report success.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace torvanu
