#include "export/table_csv.h"

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

QString line(const QStringList& cells)
{
    QStringList fields;
    fields.reserve(cells.size());
    for (const QString& cell : cells)
        fields.append(field(cell));
    return fields.join(u',');
}

} // namespace

QString tableCsvText(const QStringList& headers, const std::vector<QStringList>& rows)
{
    QStringList lines{line(headers)};
    for (const QStringList& row : rows)
        lines.append(line(row));
    return lines.join(u"\r\n"_s);
}

} // namespace torvanu
