#include "activity/activity_texts.h"

#include "activity/activity_reader.h"
#include "activity/fit_reader.h"
#include "activity/xml_document.h"
#include "activity/xml_memory.h"

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

QString formatName(ActivityFormat format)
{
    switch (format) {
    case ActivityFormat::Gpx:
        return u"GPX"_s;
    case ActivityFormat::Tcx:
        return u"TCX"_s;
    case ActivityFormat::Fit:
        break;
    }
    return u"FIT"_s;
}

} // namespace

QString activityErrorText(const ActivityError& error)
{
    using Kind = ActivityError::Kind;
    switch (error.kind) {
    case Kind::TooLarge:
        return u"ファイルが大きすぎます（%1 MiBまで）"_s.arg(kMaxActivityFileBytes / (1024 * 1024));
    case Kind::Unreadable:
        return u"ファイルを読み込めません"_s;
    case Kind::Empty:
        return u"ファイルが空です"_s;
    case Kind::Foreign:
        return u"GPX、TCX、FITのどのファイルでもありません"_s;
    case Kind::XmlDamaged:
        return u"%1ファイルが壊れています（%2行目）"_s.arg(formatName(error.format))
            .arg(error.line);
    case Kind::FitHeader:
        return u"FITファイルのヘッダーが壊れています"_s;
    case Kind::FitTruncated:
        return u"FITファイルの途中で終わっています"_s;
    case Kind::FitCrc:
        return u"FITファイルのチェックサムが合いません"_s;
    case Kind::FitDamaged:
        return u"FITファイルのデータが壊れています"_s;
    case Kind::TooManyRecords:
        return u"%1ファイルの記録が多すぎます（%2件まで）"_s.arg(formatName(error.format))
            .arg(kMaxActivityPoints);
    case Kind::NoActivity:
        return u"%1ファイルに記録がありません"_s.arg(formatName(error.format));
    case Kind::TooManyActivities:
        return u"%1ファイルのアクティビティが多すぎます（%2件まで）"_s.arg(formatName(error.format))
            .arg(kMaxActivities);
    case Kind::XmlTooDeep:
        return u"%1ファイルの要素の入れ子が深すぎます（%2段まで）"_s.arg(formatName(error.format))
            .arg(kMaxXmlDepth);
    case Kind::XmlTooLarge:
        return u"%1ファイルの要素が多すぎます（読み込みに使うメモリは%2 MiBまで）"_s
            .arg(formatName(error.format))
            .arg(kMaxXmlTreeBytes / (1024 * 1024));
    case Kind::GzipDamaged:
        return u"圧縮ファイル（.gz）が壊れています"_s;
    case Kind::GzipTooLarge:
        return u"展開したファイルが大きすぎます（%1 MiBまで）"_s.arg(kMaxActivityFileBytes /
                                                                     (1024 * 1024));
    }
    return u"ファイルを読み込めません"_s;
}

} // namespace torvanu
