#pragma once

#include "calc/pace_plan.h"

#include <QString>

namespace torvanu {

// Everything a printed or saved pace band shows: the plan's rows and the texts of its head.
struct BandSheet
{
    QString distance; // «42.195 km», with the marks' unit when it differs: «42.195 km（26.22 ﾏｲﾙ）»
    QString goal;     // «3:30:00»
    QString strategy; // «ネガティブスプリット 2％»
    std::vector<PlanRow> rows;
};

// The distance in the unit the marks count in, to follow the calculator's distance when the
// units differ: «（26.22 ﾏｲﾙ）» for mile marks on a race given in km, else nothing. Marks 1 to
// 26 under a head of 42.195 km alone would read as kilometres.
QString markDistanceText(double distanceKm, Unit sourceUnit, SplitEvery every);

// The name a save chooser offers: the race distance and the goal,
// «ペースバンド_42.195km_3時間30分00秒», without the characters a file name on a stick or a Windows
// disk cannot hold.
QString bandFileName(const QString& distance, const QString& goal);

// The strategy as the head of a band names it.
QString strategyText(Strategy strategy, double percent);

// The plan as CSV lines joined by CR LF, without a line end after the last (SaveAsCSV adds
// it), in the shape of the program's other CSV: a head, then one line per mark.
QString bandCsvText(const BandSheet& sheet);

} // namespace torvanu
