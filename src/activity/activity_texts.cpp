#include "activity/activity_texts.h"

#include "activity/activity_reader.h"
#include "activity/fit_reader.h"

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
        return u"FITファイルの記録が多すぎます（%1件まで）"_s.arg(kMaxFitRecords);
    case Kind::NoActivity:
        return u"%1ファイルに記録がありません"_s.arg(formatName(error.format));
    }
    return u"ファイルを読み込めません"_s;
}

} // namespace torvanu
