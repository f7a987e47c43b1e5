#include "history/export_index.h"

#include "history/csv_table.h"

#include <array>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

// Headings as the exports write them, compared in lower case.
constexpr std::array kFileHeadings = {u"filename", u"file name", u"file"};
constexpr std::array kNameHeadings = {u"activity name", u"name", u"title"};
constexpr std::array kRaceHeadings = {u"race", u"workout type"};

template <std::size_t N>
qsizetype columnOf(const QStringList& headings, const std::array<const char16_t*, N>& wanted)
{
    for (const char16_t* name : wanted) {
        for (qsizetype i = 0; i < headings.size(); ++i) {
            if (headings[i].trimmed().compare(QStringView(name), Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return -1;
}

QString cell(const QStringList& row, qsizetype column)
{
    return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
}

bool marksRace(const QString& text)
{
    return text.compare(u"race"_s, Qt::CaseInsensitive) == 0 ||
           text.compare(u"true"_s, Qt::CaseInsensitive) == 0 || text == u"1"_s;
}

} // namespace

QString ExportIndex::keyOf(const QString& filePath)
{
    const qsizetype slash = std::max(filePath.lastIndexOf(u'/'), filePath.lastIndexOf(u'\\'));
    return filePath.sliced(slash + 1).toLower();
}

ExportIndex ExportIndex::fromCsv(QByteArrayView utf8)
{
    ExportIndex index;
    const QList<QStringList> rows = readCsv(utf8);
    if (rows.isEmpty())
        return index;
    const qsizetype file = columnOf(rows.first(), kFileHeadings);
    const qsizetype name = columnOf(rows.first(), kNameHeadings);
    const qsizetype race = columnOf(rows.first(), kRaceHeadings);
    if (file < 0)
        return index;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QString path = cell(rows[i], file);
        if (path.isEmpty())
            continue;
        index.m_entries.insert(keyOf(path),
                               ExportEntry{cell(rows[i], name), marksRace(cell(rows[i], race))});
    }
    return index;
}

const ExportEntry* ExportIndex::find(const QString& filePath) const
{
    const auto found = m_entries.constFind(keyOf(filePath));
    return found == m_entries.cend() ? nullptr : &*found;
}

} // namespace torvanu
