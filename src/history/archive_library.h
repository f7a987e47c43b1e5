#pragma once

#include <QString>

#include <archive.h>
#include <archive_entry.h>

namespace torvanu {

// The functions of libarchive that the archive reader calls. The library is loaded when the
// first archive is opened, not at every start of the program: it and the four libraries it
// brings cost a start a few milliseconds, and only an import of an export archive needs them.
struct ArchiveLibrary
{
    decltype(&::archive_read_new) readNew = nullptr;
    decltype(&::archive_read_free) readFree = nullptr;
    decltype(&::archive_read_support_format_zip) supportFormatZip = nullptr;
    decltype(&::archive_read_support_filter_none) supportFilterNone = nullptr;
    decltype(&::archive_read_open_filename) openFilename = nullptr;
    decltype(&::archive_read_open_memory) openMemory = nullptr;
    decltype(&::archive_read_next_header) nextHeader = nullptr;
    decltype(&::archive_read_data) readData = nullptr;
    decltype(&::archive_read_data_skip) dataSkip = nullptr;
    decltype(&::archive_error_string) errorString = nullptr;
    decltype(&::archive_entry_pathname) entryPathname = nullptr;
    decltype(&::archive_entry_pathname_utf8) entryPathnameUtf8 = nullptr;
    decltype(&::archive_entry_filetype) entryFiletype = nullptr;
    decltype(&::archive_entry_size) entrySize = nullptr;
    decltype(&::archive_entry_size_is_set) entrySizeIsSet = nullptr;

    // The library's functions, loaded on the first call from any thread; nullptr when the
    // library or one of its functions cannot be found, with why in error.
    static const ArchiveLibrary* get(QString* error);
};

} // namespace torvanu
