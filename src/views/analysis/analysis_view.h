#pragma once

#include "analysis/book_analysis.h"
#include "analysis/predictions.h"
#include "views/charts/chart_data.h"
#include "records/log_line.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace torvanu {

// The book's lines as the analysis reads them; the views point into the lines. rows keeps
// its storage from one reading to the next.
void readRaceRows(const QList<LogLine>& lines, std::vector<RaceRow>& rows);
// The same for the rows first to last only; the others are left as they are.
void readRaceRows(const QList<LogLine>& lines, int first, int last, std::vector<RaceRow>& rows);

struct ViewCell
{
    ViewCell(QString shown = {}, QString tip = {}, bool strong = false)
        : text(std::move(shown)), toolTip(std::move(tip)), bold(strong)
    {
    }

    QString text;
    QString toolTip;
    bool bold = false;

    friend bool operator==(const ViewCell&, const ViewCell&) = default;
};

// How a column reads: texts from the left, numbers and times from the right, so their
// digits line up.
enum class ColumnKind
{
    Text,
    Number,
};

struct TableView
{
    QStringList headers;
    std::vector<ColumnKind> columns; // one per header
    std::vector<std::vector<ViewCell>> rows;

    friend bool operator==(const TableView&, const TableView&) = default;
};

// 種目, 自己ベスト, 1kmペース, 日付, 大会名, 回数: one row per class, as BookAnalysis::classes.
TableView bestTableView(const BookAnalysis& analysis, std::span<const RaceRow> rows);
// A row per year, a column per class: the year's best and its count; the all-time best bold.
TableView yearTableView(const BookAnalysis& analysis);
// No and reason, one row per unreadable record.
TableView unreadableView(const BookAnalysis& analysis, std::span<const RaceRow> rows);

// Every race of the class (date across, time up, faster higher) and its best progression.
// The points are in the order of Trend::races.
ChartData trendChartData(const BookAnalysis& analysis, const Trend& trend);
// The saved trend picture's title and axis names; the time's unit follows the tick labels.
ChartCaptions trendCaptions(const QString& className, const ChartData& chart);
QString trendToolTip(const BookAnalysis& analysis, std::span<const RaceRow> rows, int race);

// The race predicted from, its VDOT and training paces, and the table of predictions: the
// target, the four models and the spread.
struct PredictionView
{
    QString source;
    QString vdot;
    QString paces;
    TableView table;
};
PredictionView predictionView(const BookAnalysis& analysis, std::span<const RaceRow> rows,
                              const Predictions& predictions);

// A prediction as the calculator's pace tab takes it: the distance in km and the goal time
// in whole seconds, rounded as the table shows it; nothing when the calculator would refuse it.
struct Goal
{
    QString distanceKm;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;

    friend bool operator==(const Goal&, const Goal&) = default;
};
std::optional<Goal> goalFor(double metres, double seconds);

QString dateText(const RaceDate& date);

} // namespace torvanu
