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

constexpr QChar kYearMark = u'年';
constexpr QChar kMonthMark = u'月';
constexpr QChar kDayMark = u'日';
constexpr QStringView kHoursMark = u"時間";
constexpr QChar kMinutesMark = u'分';
constexpr QChar kSecondsMark = u'秒';
constexpr QStringView kZeroHours = u" 0";
constexpr QStringView kTwoBlanks = u"  ";
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

QString composeDateCell(const DateParts& date)
{
    return date.year + kYearMark + date.month + kMonthMark + date.day + kDayMark;
}

std::optional<DateParts> parseDateCell(QStringView cell)
{
    const qsizetype yearEnd = cell.indexOf(kYearMark);
    const qsizetype monthEnd = cell.indexOf(kMonthMark);
    if (yearEnd < 0 || monthEnd < 0)
        return std::nullopt;
    return DateParts{cell.left(yearEnd).toString(), cell.mid(yearEnd + 1, 2).toString(),
                     cell.mid(monthEnd + 1, 2).toString()};
}

QString composeDistanceCell(const DistanceParts& distance)
{
    return distance.distance + distance.unit;
}

DistanceParts parseDistanceCell(QStringView cell)
{
    // Every unit text goes, "km" before "m" (the table's order), or the "k" of a kilometre
    // cell would stay behind. A cell that names no other unit is in metres.
    QString distance = cell.toString();
    for (const UnitFacts& facts : kUnits)
        distance.remove(toQString(facts.text));

    Unit unit = Unit::M;
    for (const UnitFacts& facts : kUnits) {
        if (facts.unit != Unit::M && cell.contains(toQString(facts.text))) {
            unit = facts.unit;
            break;
        }
    }
    return {distance, toQString(unitText(unit))};
}

QString composeTimeCell(const TimeParts& time)
{
    const QString underAnHour =
        kTwoBlanks.toString() + time.minutes + kMinutesMark + time.seconds + kSecondsMark;
    QString hours = time.hours;
    hours.remove(u' ');
    if (hours.toDouble() > 0.0) // a text that is no number counts as no hours
        return time.hours + kHoursMark.toString() + removeBlankPairs(underAnHour);
    return underAnHour;
}

std::optional<TimeParts> parseTimeCell(QStringView cell)
{
    const qsizetype minutesEnd = cell.indexOf(kMinutesMark);
    if (minutesEnd < 0)
        return std::nullopt;
    const QString seconds = cell.mid(minutesEnd + 1, 2).toString();

    const qsizetype hoursEnd = cell.indexOf(kHoursMark);
    if (hoursEnd >= 0) {
        return TimeParts{cell.left(hoursEnd).toString(),
                         cell.mid(hoursEnd + kHoursMark.size(), 2).toString(), seconds};
    }
    return TimeParts{kZeroHours.toString(), removeBlankPairs(cell.left(minutesEnd)), seconds};
}

QString removeBlankPairs(QStringView text)
{
    return text.toString().remove(kTwoBlanks.toString());
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
