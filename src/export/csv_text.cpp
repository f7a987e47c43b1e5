#include "csv_text.h"

#include "calc/number_text.h"
#include "storage/text_bridge.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr QStringView kGoalHeader = u"[ゴール時間算出結果]";
constexpr QStringView kPaceHeader = u"[1kmペース算出結果]";
constexpr QStringView kLapHeader = u"[フルマラソン換算] ";
constexpr QStringView kDistanceField = u"目標距離,";
constexpr QStringView kPaceField = u"1kmのﾍﾟｰｽ,";
constexpr QStringView kGoalField = u"ゴール時間,";
constexpr QStringView kSpeedField = u"時速,";
constexpr QStringView kSpeedPrefix = u"時速 =";
constexpr QStringView kKmField = u"km,";
constexpr QStringView kHalfField = u"ハーフ,";
constexpr QStringView kFullField = u"フル,";
constexpr QStringView kLineEnd = u"\r\n";
constexpr int kHalfAfterRow = 21;

// Every blank the number reading skips, so that an echo shows the value that was calculated.
QString withoutBlanks(QStringView text)
{
    QString result = text.toString();
    result.removeIf([](QChar c) { return isBlank(c.unicode()); });
    return result;
}

QString speedWithoutPrefix(const QString& speed)
{
    QString result = speed;
    result.remove(kSpeedPrefix.toString());
    return result;
}

QString field(QStringView name, const QString& value)
{
    return name.toString() + value;
}

} // namespace

QString twoDigitForm(QStringView pickerText)
{
    const QString text = withoutBlanks(pickerText);
    if (text.isEmpty())
        return u"0"_s;
    if (text.size() == 1)
        return u'0' + text;
    return text;
}

std::optional<QString> csvText(const CsvScreen& screen)
{
    QStringList lines;
    if (screen.panel == CsvPanel::GoalTime) {
        const QString paceEcho =
            twoDigitForm(screen.paceMinutes) + u':' + twoDigitForm(screen.paceSeconds);
        lines << kGoalHeader.toString()
              << field(kDistanceField, screen.goalDistance + screen.goalUnit)
              << field(kPaceField, paceEcho) << field(kGoalField, screen.goalTimeDisplay)
              << field(kSpeedField, speedWithoutPrefix(screen.speed)) << QString();
    } else if (screen.panel == CsvPanel::Pace) {
        const std::optional<double> hours = readNumber(toU16(screen.goalHours));
        if (!hours)
            return std::nullopt;
        QString goalEcho =
            twoDigitForm(screen.goalMinutes) + u':' + twoDigitForm(screen.goalSeconds);
        if (*hours != 0)
            goalEcho = withoutBlanks(screen.goalHours) + u':' + goalEcho;
        lines << kPaceHeader.toString()
              << field(kDistanceField, screen.paceDistance + screen.paceUnit)
              << field(kGoalField, goalEcho) << field(kPaceField, screen.paceDisplay)
              << field(kSpeedField, speedWithoutPrefix(screen.speed)) << QString();
    }

    lines << kLapHeader.toString();
    for (int k = 1; k <= kLapRows; ++k) {
        lines << QString::number(k) +
                     field(kKmField, screen.splits[static_cast<std::size_t>(k - 1)]);
        if (k == kHalfAfterRow)
            lines << field(kHalfField, screen.halfTime);
    }
    lines << field(kFullField, screen.fullTime);
    // Every line ends with its own CR LF, the last one too; the save adds the empty line.
    return lines.join(kLineEnd.toString()) + kLineEnd.toString();
}

} // namespace torvanu
