// Any bytes as an export's activities.csv: read without a crash in linear time, and every
// table read, written back with every field quoted, reads back the same.

#include "history/csv_table.h"
#include "history/export_index.h"
#include "property.h"

#include <cstddef>
#include <cstdint>

using namespace torvanu;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QStringList> rows = readCsv(bytes);
    require(rows.size() <= bytes.size() + 1, "no more rows than bytes");

    QByteArray written;
    for (const QStringList& row : rows) {
        QStringList quoted;
        for (const QString& field : row)
            quoted.append(u'"' + QString(field).replace(u'"', u"\"\""_qs) + u'"');
        written += quoted.join(u',').toUtf8() + "\r\n";
    }
    require(readCsv(written) == rows, "a table written back reads the same");

    (void)ExportIndex::fromCsv(bytes);
    return 0;
}
