#include "history/history_copy.h"

#include "activity/activity_reader.h"
#include "history/archive_reader.h"
#include "history/book_match.h"
#include "storage/atomic_file.h"
#include "storage/code_page.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QThreadPool>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// A name that differs only after this many numbered tries is not worth another.
constexpr int kMaxNumberedNames = 1000;
// Writers waiting on the disk, not on a core: more of them than cores.
constexpr int kCopyThreads = 8;

QString fileNameOf(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.sliced(slash + 1);
}

// ".fit.gz" as a whole, so that a numbered name stays readable as what it is.
qsizetype extensionStart(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return name.size();
    if (name.sliced(dot).compare(u".gz"_s, Qt::CaseInsensitive) == 0) {
        const qsizetype inner = name.lastIndexOf(u'.', dot - 1);
        if (inner > 0)
            return inner;
    }
    return dot;
}

bool sameBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.size() != bytes.size() || !file.open(QIODevice::ReadOnly))
        return false;
    return file.readAll() == bytes;
}

bool insideFolder(const QString& path, const QString& folder)
{
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    return !canonicalFolder.isEmpty() && canonicalPath.startsWith(canonicalFolder + u'/');
}

class Placer
{
public:
    Placer(const QString& folder, HistoryCopies& copies) : m_folder(folder), m_copies(copies)
    {
        m_writers.setMaxThreadCount(kCopyThreads);
    }
    ~Placer() { finish(); }

    void place(const QString& file, const QByteArray& bytes)
    {
        const QString name = copyNameOf(file);
        const qsizetype cut = extensionStart(name);
        for (int number = 1; number <= kMaxNumberedNames; ++number) {
            const QString candidate =
                number == 1 ? name : name.first(cut) + u"-%1"_s.arg(number) + name.sliced(cut);
            const QString path = m_folder.filePath(candidate);
            if (m_taken.contains(path) || (QFileInfo::exists(path) && !sameBytes(path, bytes)))
                continue;
            m_taken.insert(path);
            if (QFileInfo::exists(path)) {
                const QMutexLocker lock(&m_lock);
                m_copies.paths.insert(file, path);
                return;
            }
            m_writers.start([this, file, path, bytes] {
                const std::optional<AtomicWriteError> error = writeFileAtomically(path, bytes);
                const QMutexLocker lock(&m_lock);
                if (error)
                    m_copies.problems.insert(file, error->detail);
                else
                    m_copies.paths.insert(file, path);
            });
            return;
        }
        const QMutexLocker lock(&m_lock);
        m_copies.problems.insert(file, u"同じ名前のファイルが多すぎます。"_s);
    }

    void problem(const QString& file, const QString& why)
    {
        const QMutexLocker lock(&m_lock);
        m_copies.problems.insert(file, why);
    }

    void finish() { m_writers.waitForDone(); }

private:
    QDir m_folder;
    HistoryCopies& m_copies;
    // Every copy is flushed to the disk before it takes its name; flushes of several files
    // overlap, where one after another they would take seconds for a few hundred races.
    QThreadPool m_writers;
    QMutex m_lock;
    QSet<QString> m_taken; // names given in this run: two files of one name get two copies
};

} // namespace

QString copyNameOf(const QString& file)
{
    const QString name = fileNameOf(file);
    if (!name.isEmpty() && !firstUnstorableIndex(name))
        return name;
    const QByteArray digest =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return u"activity-"_s + QString::fromLatin1(digest) + name.sliced(extensionStart(name));
}

HistoryCopies copyIntoDataFolder(SourceKind kind, const QString& source, const QStringList& files,
                                 const QString& dataFolder)
{
    HistoryCopies copies;
    const QString folder = copyFolderOf(dataFolder);
    if (!QDir().mkpath(folder)) {
        for (const QString& file : files)
            copies.problems.insert(file,
                                   u"%1 を作れません。"_s.arg(QDir::toNativeSeparators(folder)));
        return copies;
    }
    Placer placer(folder, copies);
    if (kind == SourceKind::Archive) {
        const QSet<QString> wanted(files.cbegin(), files.cend());
        const std::optional<ArchiveError> error = ArchiveReader::ofFile(source).read(
            [&wanted](const QString& path) { return wanted.contains(path); },
            [&placer](ArchiveMember&& member) {
                if (member.problem == ArchiveMember::Problem::None)
                    placer.place(member.path, member.bytes);
                else
                    placer.problem(member.path, member.detail);
                return true;
            });
        placer.finish();
        for (const QString& file : files) {
            if (!copies.paths.contains(file) && !copies.problems.contains(file))
                copies.problems.insert(file, error ? error->detail : QString());
        }
        return copies;
    }
    for (const QString& file : files) {
        if (insideFolder(file, dataFolder)) {
            copies.paths.insert(file, file);
            continue;
        }
        QFile in(file);
        if (in.size() > kMaxActivityFileBytes || !in.open(QIODevice::ReadOnly)) {
            placer.problem(file, in.errorString());
            continue;
        }
        placer.place(file, in.readAll());
    }
    placer.finish();
    return copies;
}

} // namespace torvanu
