#include "openable_file.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Types a desktop may run instead of opening.
constexpr QStringView kProgramTypes[] = {u"application/x-executable",
                                         u"application/x-sharedlib",
                                         u"application/x-shellscript",
                                         u"application/x-desktop",
                                         u"application/x-ms-dos-executable",
                                         u"application/vnd.appimage",
                                         u"application/x-perl",
                                         u"text/x-python"};

} // namespace

// What the program hands to the desktop is a file on this machine, to be opened with the
// program associated with its type: a record's data file, readme.txt, the help page. Only an
// absolute path names one: "file:", "javascript:", "mailto:" and the like are relative texts
// here, and so are Windows paths carried over in old record books; a leading ':' would name a
// resource compiled into the program. A desktop launcher or a program the desktop would run
// rather than open is not handed over either, nor a folder unless the caller asks for one. The
// execute bit alone does not decide: on a memory card every file has it.
bool isOpenableFile(const QString& path, FolderPolicy folders)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || path.startsWith(u':'))
        return false;
    const QFileInfo info(path);
    if (info.isDir())
        return folders == FolderPolicy::Open;
    if (!info.isFile() || info.suffix().compare(u"desktop"_s, Qt::CaseInsensitive) == 0)
        return false;
    if (!info.isExecutable())
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    return std::none_of(std::begin(kProgramTypes), std::end(kProgramTypes),
                        [&type](QStringView name) { return type.inherits(name.toString()); });
}

} // namespace torvanu
