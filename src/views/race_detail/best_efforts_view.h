#pragma once

#include "analysis/best_efforts.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace torvanu {

// 距離, タイム, ペース, 開始: a row per effort distance the race was long enough for.
struct BestEffortsView
{
    QStringList headers;
    std::vector<QStringList> rows;
};

BestEffortsView bestEffortsView(std::span<const BestEffort> efforts);

// The effort's pace per km, as m:ss.
QString effortPaceText(const BestEffort& effort);
// Where in the race it started: km with two decimals, "12.35km".
QString effortStartText(const BestEffort& effort);

} // namespace torvanu
