#include "record_cells.h"

#include "calc/units.h"
#include "storage/text_bridge.h"

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kMonths = 12;
constexpr int kDays = 31;
constexpr int kLastHour = 24;
constexpr int kLastMinute = 59;

constexpr QChar kComma = u',';
constexpr QChar kFullWidthComma = u'，';

QStringList numberEntries(int first, int last, int width, QChar padding)
{
    QStringList entries;
    for (int value = first; value <= last; ++value)
        entries.append(QString::number(value).rightJustified(width, padding));
    return entries;
}

} // namespace

QStringList yearEntries()
{
    return numberEntries(kFirstYear, kLastYear, 4, u'0');
}

QStringList monthEntries()
{
    return numberEntries(1, kMonths, 2, u'0');
}

QStringList dayEntries()
{
    return numberEntries(1, kDays, 2, u'0');
}

QStringList hourEntries()
{
    return numberEntries(0, kLastHour, 2, u' ');
}

QStringList minuteEntries()
{
    return numberEntries(0, kLastMinute, 2, u' ');
}

QStringList distancePresets()
{
    return {u"42.195"_s, u"30"_s, u"21.0975"_s, u"20"_s, u"10"_s, u"5 "_s, u"3 "_s, u"1 "_s};
}

namespace {

std::u16string u16(const QString& text)
{
    return text.toStdU16String();
}

} // namespace

QString composeDateCell(const DateParts& date)
{
    return toQString(torvanu::composeDateCell({u16(date.year), u16(date.month), u16(date.day)}));
}

std::optional<DateParts> parseDateCell(QStringView cell)
{
    const std::optional<DateCellParts> parts = splitDateCell(toU16(cell));
    if (!parts)
        return std::nullopt;
    return DateParts{toQString(parts->year), toQString(parts->month), toQString(parts->day)};
}

QString composeDistanceCell(const DistanceParts& distance)
{
    const std::optional<Unit> unit = unitFromText(toU16(distance.unit));
    if (!unit) // no unit the editor offers; kept as typed
        return distance.distance + distance.unit;
    return toQString(torvanu::composeDistanceCell({u16(distance.distance), *unit}));
}

DistanceParts parseDistanceCell(QStringView cell)
{
    const DistanceCellParts parts = splitDistanceCell(toU16(cell));
    return {toQString(parts.distance), toQString(unitText(parts.unit))};
}

QString composeTimeCell(const TimeParts& time)
{
    return toQString(
        torvanu::composeTimeCell({u16(time.hours), u16(time.minutes), u16(time.seconds)}));
}

std::optional<TimeParts> parseTimeCell(QStringView cell)
{
    const std::optional<TimeCellParts> parts = splitTimeCell(toU16(cell));
    if (!parts)
        return std::nullopt;
    return TimeParts{toQString(parts->hours), toQString(parts->minutes),
                     toQString(parts->seconds)};
}

QString removeControlCharacters(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            break;
        default:
            kept.append(c);
        }
    }
    return kept;
}

QString mapInputMethodCharacters(QStringView text)
{
    QString mapped = text.toString();
    for (QChar& c : mapped) {
        switch (c.unicode()) {
        case 0x301C: // WAVE DASH
            c = QChar(0xFF5E);
            break;
        case 0x2212: // MINUS SIGN
            c = QChar(0xFF0D);
            break;
        case 0x2014: // EM DASH
            c = QChar(0x2015);
            break;
        case 0x2016: // DOUBLE VERTICAL LINE
            c = QChar(0x2225);
            break;
        case 0x00A2: // CENT SIGN
            c = QChar(0xFFE0);
            break;
        case 0x00A3: // POUND SIGN
            c = QChar(0xFFE1);
            break;
        case 0x00AC: // NOT SIGN
            c = QChar(0xFFE2);
            break;
        default:
            break;
        }
    }
    return mapped;
}

QString cleanEnteredText(QStringView text)
{
    return mapInputMethodCharacters(removeControlCharacters(text));
}

QString cleanFreeTextCell(QStringView text)
{
    return cleanEnteredText(text).replace(kComma, kFullWidthComma);
}

} // namespace torvanu
