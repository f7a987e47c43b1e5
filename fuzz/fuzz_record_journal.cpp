// The record journal from arbitrary bytes, as a crash or a damaged disk may leave it.
//
// - reading stops at the first entry that is not whole, and never allocates past the file;
// - every entry read encodes back to the very bytes it was read from;
// - each change either fits a list and applies, or is refused with the list untouched.

#include "records/record_change.h"
#include "records/record_journal.h"
#include "records/record_model.h"
#include "property.h"

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

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir(QDir(u"/dev/shm"_s).exists()
                                 ? u"/dev/shm/fuzz_record_journal-XXXXXX"_s
                                 : QDir::tempPath() + u"/fuzz_record_journal-XXXXXX"_s);
    require(dir.isValid(), "temporary folder");
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = dir.filePath(RecordJournal::kFileName.toString());
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "journal writable");
        require(file.write(bytes) == bytes.size(), "journal written");
    }

    const JournalReadResult read = RecordJournal::read(path);
    if (read.error) {
        require(read.changes.isEmpty(), "nothing read from a file that is not a journal");
        return 0;
    }
    require(read.wholeBytes <= bytes.size(), "whole entries lie inside the file");
    require(read.cut == (read.wholeBytes < bytes.size()), "cut exactly when bytes are left");

    QByteArray encoded;
    for (const RecordChange& change : read.changes)
        encoded.append(RecordJournal::encodeEntry(change));
    require(read.wholeBytes >= encoded.size() &&
                bytes.sliced(read.wholeBytes - encoded.size(), encoded.size()) == encoded,
            "entries encode back to their bytes");

    // A list of a few rows, as a restore would find it.
    RecordModel model;
    QList<RaceRecord> rows;
    for (int i = 0; i < (size == 0 ? 0 : data[0] % 5); ++i)
        rows.append(RaceRecord{QString::number(i + 1), u"d"_s, u"n"_s, u"5km"_s, u"t"_s, {}, {}});
    model.setRecords(rows);
    for (const RecordChange& change : read.changes) {
        const QList<LogLine> before = model.lines();
        if (!applyRecordChange(model, change))
            require(model.lines() == before, "a refused change leaves the list");
    }
    return 0;
}
