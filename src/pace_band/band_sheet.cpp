#include "band_sheet.h"

#include "band_texts.h"
#include "storage/text_bridge.h"

#include <QStringList>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

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
