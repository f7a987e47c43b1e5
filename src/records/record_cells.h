#pragma once

#include "calc/cell_format.h"
#include "storage/code_page.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace torvanu {

// The record editor's cells are the stored form of a record: log.dat holds them as they are,
// the list sorts by them, and the editor reads them back into its pickers. Every cell the
// editor composes from its picker entries must therefore parse back into the same entries.
// The format itself is calc/cell_format's; these are its forms in the editor's texts.

// The entries of the editor's pickers, in list order.
QStringList yearEntries();     // "1980" .. "2100"
QStringList monthEntries();    // "01" .. "12"
QStringList dayEntries();      // "01" .. "31"
QStringList hourEntries();     // " 0" .. " 9", "10" .. "24"
QStringList minuteEntries();   // " 0" .. " 9", "10" .. "59"; the seconds picker shares them
QStringList distancePresets(); // the distance pickers' list, the calculator's and the editor's;
                               // some entries end in a blank

struct DateParts
{
    QString year;
    QString month;
    QString day;

    friend bool operator==(const DateParts&, const DateParts&) = default;
};

struct DistanceParts
{
    QString distance;
    QString unit;

    friend bool operator==(const DistanceParts&, const DistanceParts&) = default;
};

struct TimeParts
{
    QString hours;
    QString minutes;
    QString seconds;

    friend bool operator==(const TimeParts&, const TimeParts&) = default;
};

QString composeDateCell(const DateParts& date);
// Nothing when a marker is missing; the parts are not checked against the pickers.
std::optional<DateParts> parseDateCell(QStringView cell);

QString composeDistanceCell(const DistanceParts& distance);
// Never fails: a cell without a unit text is read as metres.
DistanceParts parseDistanceCell(QStringView cell);

QString composeTimeCell(const TimeParts& time);
// Nothing when the minutes marker is missing; the parts are not checked against the pickers.
std::optional<TimeParts> parseTimeCell(QStringView cell);

// A line break or control character would split or corrupt a line of log.dat.
QString removeControlCharacters(QStringView text);

// Linux input methods type some characters in the form code page 932 does not hold; the
// file can only keep the other form, so the user gets that one as they type.
QString mapInputMethodCharacters(QStringView text);

// What the race name, remarks and distance fields let through as text is entered.
QString cleanEnteredText(QStringView text);

// The race name and remarks cells: the comma separates the fields of log.dat, so it is
// stored as the full-width comma.
QString cleanFreeTextCell(QStringView text);

} // namespace torvanu
