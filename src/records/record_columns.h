#pragma once

#include <QStringView>
#include <Qt>

#include <array>

namespace torvanu {

// The record list's columns, in the order of the list and of the fields of a log.dat line.
enum RecordColumn : int
{
    NoColumn = 0,
    DateColumn,
    NameColumn,
    DistanceColumn,
    TimeColumn,
    RemarksColumn,
    DataColumn,
    RecordColumnCount
};

// How one column shows itself: in the list's header and cells, and beside its fields in the
// record editor.
struct RecordColumnLook
{
    QStringView caption;     // before any sort mark
    int width;               // in 96-dpi pixels
    Qt::Alignment alignment; // the header lines up with its cells
    QStringView editorLabel; // empty where the editor has no field (the number is the position)
};

// Indexed by RecordColumn; read by the record model, the list view and the record editor.
inline constexpr std::array<RecordColumnLook, RecordColumnCount> kRecordColumns{{
    {u"No", 33, Qt::AlignLeft | Qt::AlignVCenter, {}},             // NoColumn
    {u"日時", 96, Qt::AlignLeft | Qt::AlignVCenter, u"日時"},      // DateColumn
    {u"大会名", 167, Qt::AlignLeft | Qt::AlignVCenter, u"大会名"}, // NameColumn
    {u"距離", 67, Qt::AlignRight | Qt::AlignVCenter, u"距離"},     // DistanceColumn
    {u"タイム", 100, Qt::AlignRight | Qt::AlignVCenter, u"記録"},  // TimeColumn
    {u"備考", 167, Qt::AlignLeft | Qt::AlignVCenter, u"備考"},     // RemarksColumn
    {u"ﾃﾞｰﾀ", 40, Qt::AlignLeft | Qt::AlignVCenter, u"データ"},    // DataColumn
}};

} // namespace torvanu
