#include "history/archive_reader.h"

#include "history/archive_library.h"

#include <QDir>
#include <QFile>

#include <memory>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Large enough to read quickly, small enough that a cancel is seen within a few milliseconds.
constexpr qsizetype kChunkBytes = 256 * 1024;

// A handle exists only once the library has loaded.
struct ArchiveCloser
{
    void operator()(archive* handle) const { ArchiveLibrary::get(nullptr)->readFree(handle); }
};
using ArchiveHandle = std::unique_ptr<archive, ArchiveCloser>;

QString errorOf(const ArchiveLibrary& library, archive* handle)
{
    const char* text = library.errorString(handle);
    return text ? QString::fromLocal8Bit(text) : u"?"_s;
}

QString pathOf(const ArchiveLibrary& library, archive_entry* entry)
{
    if (const char* utf8 = library.entryPathnameUtf8(entry))
        return QString::fromUtf8(utf8);
    if (const char* local = library.entryPathname(entry))
        return QString::fromLocal8Bit(local);
    return {};
}

bool cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

bool isFolder(const ArchiveLibrary& library, archive_entry* entry)
{
    return library.entryFiletype(entry) == AE_IFDIR;
}

// One step through the members: the next header, or why there is none. No entry and no error
// is the archive's end.
struct MemberStep
{
    archive_entry* entry = nullptr;
    std::optional<ArchiveError> error;
};

MemberStep nextMember(const ArchiveLibrary& library, archive* handle, qsizetype& count,
                      const std::atomic<bool>* cancel)
{
    if (cancelled(cancel))
        return {nullptr, ArchiveError{ArchiveError::Kind::Cancelled, {}}};
    archive_entry* entry = nullptr;
    const int status = library.nextHeader(handle, &entry);
    if (status == ARCHIVE_EOF)
        return {};
    if (status < ARCHIVE_WARN)
        return {nullptr, ArchiveError{ArchiveError::Kind::Unreadable, errorOf(library, handle)}};
    if (++count > kMaxArchiveMembers)
        return {nullptr, ArchiveError{ArchiveError::Kind::TooManyMembers, {}}};
    return {entry, std::nullopt};
}

} // namespace

ArchiveReader ArchiveReader::ofFile(const QString& path)
{
    ArchiveReader reader;
    reader.m_path = path;
    return reader;
}

ArchiveReader ArchiveReader::ofBytes(QByteArrayView bytes)
{
    ArchiveReader reader;
    reader.m_bytes = bytes;
    reader.m_inMemory = true;
    return reader;
}

bool ArchiveReader::leavesArchive(const QString& path)
{
    if (path.startsWith(u'/') || path.startsWith(u'\\') || (path.size() >= 2 && path[1] == u':'))
        return true;
    const QStringList parts = QString(path).replace(u'\\', u'/').split(u'/');
    return parts.contains(u".."_s);
}

archive* ArchiveReader::open(QString& error) const
{
    const ArchiveLibrary* loaded = ArchiveLibrary::get(&error);
    if (!loaded)
        return nullptr;
    const ArchiveLibrary& library = *loaded;
    archive* handle = library.readNew();
    if (!handle) {
        error = u"out of memory"_s;
        return nullptr;
    }
    library.supportFormatZip(handle);
    library.supportFilterNone(handle);
    const int opened =
        m_inMemory ? library.openMemory(handle, m_bytes.data(), static_cast<size_t>(m_bytes.size()))
                   : library.openFilename(handle, QFile::encodeName(m_path).constData(),
                                          static_cast<size_t>(kChunkBytes));
    if (opened != ARCHIVE_OK) {
        error = errorOf(library, handle);
        library.readFree(handle);
        return nullptr;
    }
    return handle;
}

std::optional<ArchiveError> ArchiveReader::list(const std::function<void(const QString&)>& member,
                                                const std::atomic<bool>* cancel) const
{
    QString error;
    const ArchiveHandle handle(open(error));
    if (!handle)
        return ArchiveError{ArchiveError::Kind::Unreadable, error};
    const ArchiveLibrary* library = ArchiveLibrary::get(nullptr);
    qsizetype count = 0;
    while (true) {
        const MemberStep step = nextMember(*library, handle.get(), count, cancel);
        if (!step.entry)
            return step.error;
        archive_entry* entry = step.entry;
        if (!isFolder(*library, entry))
            member(pathOf(*library, entry));
        // Skipping reads nothing for a zip whose central directory gives the sizes.
        if (library->dataSkip(handle.get()) < ARCHIVE_WARN)
            return ArchiveError{ArchiveError::Kind::Unreadable, errorOf(*library, handle.get())};
    }
}

std::optional<ArchiveError> ArchiveReader::read(const Wanted& wanted, const Visit& visit,
                                                const std::atomic<bool>* cancel) const
{
    QString error;
    const ArchiveHandle handle(open(error));
    if (!handle)
        return ArchiveError{ArchiveError::Kind::Unreadable, error};
    const ArchiveLibrary* library = ArchiveLibrary::get(nullptr);
    qsizetype count = 0;
    QByteArray chunk(kChunkBytes, Qt::Uninitialized);
    while (true) {
        const MemberStep step = nextMember(*library, handle.get(), count, cancel);
        if (!step.entry)
            return step.error;
        archive_entry* entry = step.entry;
        ArchiveMember member;
        member.path = pathOf(*library, entry);
        if (isFolder(*library, entry) || (wanted && !wanted(member.path))) {
            if (library->dataSkip(handle.get()) < ARCHIVE_WARN)
                return ArchiveError{ArchiveError::Kind::Unreadable,
                                    errorOf(*library, handle.get())};
            continue;
        }
        const bool declaredTooLarge =
            library->entrySizeIsSet(entry) && library->entrySize(entry) > kMaxMemberBytes;
        if (leavesArchive(member.path)) {
            member.problem = ArchiveMember::Problem::OutsidePath;
        } else if (declaredTooLarge) {
            member.problem = ArchiveMember::Problem::TooLarge;
        } else {
            while (true) {
                if (cancelled(cancel))
                    return ArchiveError{ArchiveError::Kind::Cancelled, {}};
                const la_ssize_t got = library->readData(handle.get(), chunk.data(),
                                                         static_cast<size_t>(chunk.size()));
                if (got == 0)
                    break;
                if (got < 0) {
                    member.problem = ArchiveMember::Problem::Damaged;
                    member.detail = errorOf(*library, handle.get());
                    member.bytes.clear();
                    break;
                }
                if (member.bytes.size() + got > kMaxMemberBytes) {
                    member.problem = ArchiveMember::Problem::TooLarge;
                    member.bytes = QByteArray();
                    break;
                }
                member.bytes.append(chunk.constData(), got);
            }
        }
        // After a damaged member the next header says whether the archive reads on.
        if (!visit(std::move(member)))
            return std::nullopt;
    }
}

} // namespace torvanu
