#include "history/scan_texts.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace torvanu {

QString memberProblemText(const ArchiveMember& member)
{
    switch (member.problem) {
    case ArchiveMember::Problem::TooLarge:
        return u"展開すると上限の64 MiBを超えます。"_s;
    case ArchiveMember::Problem::OutsidePath:
        return u"アーカイブの外を指すパス（%1）なので読みません。"_s.arg(member.path);
    case ArchiveMember::Problem::Damaged:
        return u"アーカイブの中で壊れています（%1）。"_s.arg(member.detail);
    case ArchiveMember::Problem::None:
        break;
    }
    return {};
}

QString archiveErrorText(const ArchiveError& error)
{
    switch (error.kind) {
    case ArchiveError::Kind::TooManyMembers:
        return u"アーカイブの項目が上限の100,000個を超えるので読みません。"_s;
    case ArchiveError::Kind::Unreadable:
        return u"アーカイブを読めません（%1）。読めた分だけを表示します。"_s.arg(error.detail);
    case ArchiveError::Kind::Cancelled:
        break;
    }
    return {};
}

QString missingSourceText(const QString& path)
{
    return u"%1 が見つかりません。"_s.arg(QDir::toNativeSeparators(path));
}

QString tooManyFilesText()
{
    return u"データファイルが上限の100,000個を超えるので読みません。"_s;
}

QString unreadableCsvText()
{
    return u"activities.csv が上限の64 MiBを超えるので、名前は使いません。"_s;
}

QString memberCountMismatchText()
{
    return u"中の項目の数が目録と合いません"_s;
}

} // namespace torvanu
