// log.dat from arbitrary bytes: loaded, saved, loaded again.
//
// - loading never fails on readable bytes, and the line reader splits the same lines whatever
//   its read size;
// - saving what was loaded succeeds and loads back as the same rows;
// - saving those rows again writes the very same bytes.

#include "records/cp932_line_reader.h"
#include "records/log_file.h"
#include "property.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "log.dat readable");
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "log.dat writable");
    require(file.write(bytes) == bytes.size(), "log.dat written");
}

struct ReadLine
{
    QByteArray bytes;
    QByteArray terminator;
    QString text;
    bool clean;

    friend bool operator==(const ReadLine&, const ReadLine&) = default;
};

QList<ReadLine> readLines(const QByteArray& bytes, qsizetype chunkSize)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    Cp932LineReader reader(buffer, chunkSize);
    QList<ReadLine> lines;
    Cp932LineReader::Line line;
    while (reader.next(line))
        lines.append({line.bytes.toByteArray(), line.terminator.toByteArray(), line.text.toString(),
                      line.clean});
    require(!reader.hasReadError(), "no read error from memory");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // QTemporaryDir and the codecs want an application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // In memory where there is a memory file system: saving syncs to disk, and a disk would
    // hold each run up for milliseconds.
    static QTemporaryDir dir(QDir(u"/dev/shm"_s).exists()
                                 ? u"/dev/shm/fuzz_log_file-XXXXXX"_s
                                 : QDir::tempPath() + u"/fuzz_log_file-XXXXXX"_s);
    require(dir.isValid(), "temporary folder");
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The first byte picks a small read size, so that runs of lines and characters are cut
    // at every place.
    const qsizetype smallChunk = size == 0 ? 1 : 1 + data[0] % 7;
    require(readLines(bytes, smallChunk) == readLines(bytes, Cp932LineReader::kDefaultChunkSize),
            "lines do not depend on the read size");

    writeAll(dir.filePath(u"log.dat"_s), bytes);
    LogFile file(dir.path());
    const LogLoadResult first = file.load();
    require(!first.error, "readable bytes load");

    const LogSaveResult saved = file.save(first.lines);
    require(!saved.error, "loaded rows save");
    const QByteArray afterFirstSave = readAll(file.filePath());

    LogFile again(dir.path());
    const LogLoadResult second = again.load();
    require(!second.error, "saved file loads");
    require(second.lines == first.lines, "saved rows load back the same");
    require(again.compare(second.lines).comparison == LogComparison::Unchanged,
            "a saved file compares unchanged");

    require(!again.save(second.lines).error, "rows save a second time");
    require(readAll(again.filePath()) == afterFirstSave, "a second save writes the same bytes");

    QFile::remove(file.filePath());
    QFile::remove(file.backupFilePath());
    return 0;
}
