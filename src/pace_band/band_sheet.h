#pragma once

#include "calc/pace_plan.h"

#include <QString>

namespace torvanu {

// Everything a printed or saved pace band shows: the plan's rows and the texts of its head.
struct BandSheet
{
    QString distance; // «42.195 km»
    QString goal;     // «3:30:00»
    QString strategy; // «ネガティブスプリット 2％»
    std::vector<PlanRow> rows;
};

// The strategy as the head of a band names it.
QString strategyText(Strategy strategy, double percent);

// The plan as CSV lines joined by CR LF, without a line end after the last (SaveAsCSV adds
// it), in the shape of the program's other CSV: a head, then one line per mark.
QString bandCsvText(const BandSheet& sheet);

} // namespace torvanu
