#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace torvanu {

// The rows of a CSV file as RFC 4180 writes them: fields in double quotes may hold commas,
// line breaks and doubled quotes. Lines may end in CR LF, LF or CR. A UTF-8 byte order mark
// is dropped. Never fails: a quote left open runs to the end of the text.
//
// One pass over the bytes and no field copied twice, so time and memory stay linear in the
// input; the caller bounds the input (a member of an archive is cut at 64 MiB).
QList<QStringList> readCsv(QByteArrayView utf8);

} // namespace torvanu
