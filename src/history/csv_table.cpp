#include "history/csv_table.h"

#include <QStringDecoder>

namespace torvanu {

namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char kCr = '\r';
constexpr char kLf = '\n';

} // namespace

QList<QStringList> readCsv(QByteArrayView utf8)
{
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8 = utf8.sliced(3);

    // A field's own leading byte order mark is text: only the file's first one is dropped.
    QStringDecoder decode(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom);
    QList<QStringList> rows;
    QStringList row;
    QByteArray field;
    bool quoted = false;       // inside a quoted field
    bool fieldStarted = false; // the row has at least one field, even an empty one
    const auto endField = [&] {
        row.append(decode(field));
        field.clear();
        fieldStarted = false;
    };
    const auto endRow = [&] {
        endField();
        rows.append(std::move(row));
        row = QStringList();
    };

    const qsizetype size = utf8.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        if (quoted) {
            if (c != kQuote) {
                field.append(c);
            } else if (i + 1 < size && utf8[i + 1] == kQuote) {
                field.append(kQuote);
                ++i;
            } else {
                quoted = false;
            }
            continue;
        }
        switch (c) {
        case kQuote:
            quoted = true;
            fieldStarted = true;
            break;
        case kComma:
            endField();
            fieldStarted = true;
            break;
        case kCr:
            if (i + 1 < size && utf8[i + 1] == kLf)
                ++i;
            endRow();
            break;
        case kLf:
            endRow();
            break;
        default:
            field.append(c);
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

} // namespace torvanu
