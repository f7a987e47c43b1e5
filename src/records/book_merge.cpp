#include "records/book_merge.h"

#include <QHash>
#include <QStringView>

namespace torvanu {

BookMerge mergeBooks(const QList<LogLine>& base, const QList<LogLine>& theirs,
                     const QList<LogLine>& mine, bool dropLost)
{
    // Views into the three lists, which outlive the maps.
    QHash<QStringView, int> unmatched;
    for (const LogLine& row : base)
        ++unmatched[row.afterNo()];

    BookMerge merge;
    QList<const LogLine*> gained;
    for (const LogLine& row : theirs) {
        const auto found = unmatched.find(row.afterNo());
        if (found != unmatched.end() && *found > 0)
            --*found;
        else
            gained.append(&row);
    }
    // What is left unmatched of the book as read is what the file lost.

    merge.lines.reserve(mine.size() + gained.size());
    for (const LogLine& row : mine) {
        const auto found = unmatched.find(row.afterNo());
        if (found != unmatched.end() && *found > 0) {
            --*found;
            ++merge.lost;
            if (dropLost)
                continue;
        }
        merge.lines.append(row);
    }
    for (const LogLine* row : gained)
        merge.lines.append(*row);
    merge.gained = static_cast<int>(gained.size());
    for (qsizetype i = 0; i < merge.lines.size(); ++i)
        merge.lines[i].setNo(i + 1);
    return merge;
}

bool sameRows(const QList<LogLine>& a, const QList<LogLine>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].afterNo() != b[i].afterNo())
            return false;
    }
    return true;
}

} // namespace torvanu
