#include "band_sheet.h"

#include "band_texts.h"
#include "calc/units.h"
#include "storage/text_bridge.h"

#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

QString markDistanceText(double distanceKm, Unit sourceUnit, SplitEvery every)
{
    const bool mileMarks = every == SplitEvery::Mile1;
    if (mileMarks == (sourceUnit == Unit::Mile))
        return {};
    const double inMarks = mileMarks ? distanceKm / kKmPerMile : distanceKm;
    QString number = QString::number(inMarks, 'f', mileMarks ? 2 : 3);
    // 26.20 reads as 26.2, and 42.000 as 42.
    while (number.endsWith(u'0'))
        number.chop(1);
    if (number.endsWith(u'.'))
        number.chop(1);
    return u"（"_s + number + u' ' + toQString(splitUnitText(every)) + u"）"_s;
}

QString bandFileName(const QString& distance, const QString& goal)
{
    QString name = kBandTitle.toString() + u'_' + QString(distance).remove(u' ');
    const QStringList clock = goal.split(u':');
    if (clock.size() == 3)
        name += u"_%1時間%2分%3秒"_s.arg(clock[0], clock[1], clock[2]);
    else if (!goal.isEmpty())
        name += u'_' + QString(goal).replace(u':', u'-');
    return name;
}

QString strategyText(Strategy strategy, double percent)
{
    const QString amount = QString::number(std::abs(percent)) + kBandPercentUnit.toString();
    if (strategy == Strategy::Even || percent == 0.0)
        return kBandEven.toString();
    if (strategy == Strategy::Split)
        return (percent < 0 ? kBandNegativeSplit : kBandPositiveSplit).toString() + u' ' + amount;
    return kBandDrift.toString() + u' ' + (percent < 0 ? u'－' : u'＋') + amount;
}

QString bandCsvText(const BandSheet& sheet)
{
    QStringList lines{kBandTitle.toString(), kBandDistance.toString() + u',' + sheet.distance,
                      kBandGoal.toString() + u',' + sheet.goal,
                      kBandStrategyHeading.toString() + u',' + sheet.strategy,
                      QStringList{kBandPlace.toString(), kBandSegment.toString(),
                                  kBandPassing.toString(), kBandPace.toString()}
                          .join(u',')};
    for (const PlanRow& row : sheet.rows)
        lines.append(QStringList{toQString(row.place), toQString(row.segment),
                                 toQString(row.passing), toQString(row.pace)}
                         .join(u','));
    return lines.join(u"\r\n"_s);
}

} // namespace torvanu
