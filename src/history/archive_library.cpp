#include "archive_library.h"

#include <QLibrary>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// The name and version of the library as Debian's libarchive13 installs it.
constexpr QStringView kLibraryName = u"archive";
constexpr int kLibraryVersion = 13;

struct Loaded
{
    ArchiveLibrary functions;
    QString error; // empty when every function was found
};

template <typename Function>
bool find(QLibrary& library, const char* name, Function& function, QString& error)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    if (!function && error.isEmpty())
        error = u"%1: %2 is missing"_s.arg(library.fileName(), QLatin1StringView(name));
    return function != nullptr;
}

Loaded load()
{
    Loaded loaded;
    // Kept loaded for the rest of the run; QLibrary never unloads on destruction.
    QLibrary library(kLibraryName.toString(), kLibraryVersion);
    if (!library.load()) {
        loaded.error = library.errorString();
        return loaded;
    }
    ArchiveLibrary& f = loaded.functions;
    QString& e = loaded.error;
    find(library, "archive_read_new", f.readNew, e);
    find(library, "archive_read_free", f.readFree, e);
    find(library, "archive_read_support_format_zip", f.supportFormatZip, e);
    find(library, "archive_read_support_filter_none", f.supportFilterNone, e);
    find(library, "archive_read_open_filename", f.openFilename, e);
    find(library, "archive_read_open_memory", f.openMemory, e);
    find(library, "archive_read_next_header", f.nextHeader, e);
    find(library, "archive_read_data", f.readData, e);
    find(library, "archive_read_data_skip", f.dataSkip, e);
    find(library, "archive_error_string", f.errorString, e);
    find(library, "archive_entry_pathname", f.entryPathname, e);
    find(library, "archive_entry_pathname_utf8", f.entryPathnameUtf8, e);
    find(library, "archive_entry_filetype", f.entryFiletype, e);
    find(library, "archive_entry_size", f.entrySize, e);
    find(library, "archive_entry_size_is_set", f.entrySizeIsSet, e);
    return loaded;
}

} // namespace

const ArchiveLibrary* ArchiveLibrary::get(QString* error)
{
    static const Loaded loaded = load();
    if (!loaded.error.isEmpty()) {
        if (error)
            *error = loaded.error;
        return nullptr;
    }
    return &loaded.functions;
}

} // namespace torvanu
