#include "records/book_permissions.h"

#include <QFile>
#include <QFileInfo>

namespace torvanu {

namespace {

// The bits QFile::setPermissions writes; the User flags only restate the Owner ones for the
// running user.
constexpr QFileDevice::Permissions kModeBits =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

} // namespace

std::optional<QFileDevice::Permissions> bookPermissions(const QString& bookPath)
{
    const QFileInfo book(bookPath);
    if (!book.isFile())
        return std::nullopt;
    return book.permissions() & kModeBits;
}

bool applyBookPermissions(const QString& bookPath, const QString& path)
{
    const std::optional<QFileDevice::Permissions> permissions = bookPermissions(bookPath);
    return !permissions || QFile::setPermissions(path, *permissions);
}

} // namespace torvanu
