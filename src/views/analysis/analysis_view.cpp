#include "analysis_view.h"

#include "analysis/time_text.h"
#include "views/analysis/analysis_texts.h"
#include "calc/clock_text.h"
#include "calc/number_text.h"
#include "calc/time_units.h"
#include "calc/units.h"
#include "calc/validation.h"
#include "views/charts/time_ticks.h"
#include "storage/text_bridge.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr int kDaysPerYear = 365;
constexpr int kMaxYearTicks = 12;
constexpr int kMaxTimeTicks = 6;
constexpr double kTimeMargin = 0.08; // of the span of times, above and below
constexpr std::array<double, 12> kTimeSteps = {10,  15,  30,   60,   120,  300,
                                               600, 900, 1800, 3600, 7200, 18000};
constexpr std::array<const char16_t*, 5> kPaceNames = {u"E", u"M", u"T", u"I", u"R"};

QString text(std::u16string_view view)
{
    return toQString(view);
}

QString time(double seconds)
{
    return toQString(timeText(seconds));
}

std::u16string_view view(QStringView text)
{
    return toU16(text);
}

QString problemText(RowProblem problem)
{
    switch (problem) {
    case RowProblem::DistanceUnreadable:
        return u"距離を読み取れません"_s;
    case RowProblem::DistanceNotPositive:
        return u"距離が0以下です"_s;
    case RowProblem::DistanceTooLong:
        return u"距離が長すぎます"_s;
    case RowProblem::TimeUnreadable:
        return u"タイムを読み取れません"_s;
    case RowProblem::TimeZero:
        return u"タイムが0です"_s;
    case RowProblem::DateUnreadable:
        return u"日付を読み取れません"_s;
    case RowProblem::YearOutOfRange:
        return u"年が範囲外です"_s;
    }
    return {};
}

// The cell the reason is about, so the user finds what to mend.
std::u16string_view problemCell(RowProblem problem, const RaceRow& row)
{
    switch (problem) {
    case RowProblem::DistanceUnreadable:
    case RowProblem::DistanceNotPositive:
    case RowProblem::DistanceTooLong:
        return row.distance;
    case RowProblem::TimeUnreadable:
    case RowProblem::TimeZero:
        return row.time;
    case RowProblem::DateUnreadable:
    case RowProblem::YearOutOfRange:
        return row.date;
    }
    return {};
}

QString exponentReason(const ExponentFit& fit)
{
    switch (fit.problem) {
    case ExponentFit::Problem::None:
        return u"b = %1"_s.arg(*fit.exponent, 0, 'f', 3);
    case ExponentFit::Problem::TooFewDistances:
        return u"3km以上の種目が2つ必要"_s;
    case ExponentFit::Problem::OutOfBounds:
        return u"b = %1 は範囲外 (1〜1.3)"_s.arg(*fit.exponent, 0, 'f', 3);
    }
    return {};
}

std::vector<ChartTick> yearTicks(int firstDay, int lastDay)
{
    const auto yearOf = [](int day) {
        // A day number is at most a year and a day from its year's start.
        int year = 1970 + static_cast<int>(std::floor(day / 365.2425));
        while (RaceDate{year + 1, 1, 1}.dayNumber() <= day)
            ++year;
        while (RaceDate{year, 1, 1}.dayNumber() > day)
            --year;
        return year;
    };
    const int first = yearOf(firstDay) + 1;
    const int last = yearOf(lastDay);
    const int step = std::max(1, (last - first + 1 + kMaxYearTicks - 1) / kMaxYearTicks);
    std::vector<ChartTick> ticks;
    for (int year = first; year <= last; year += step)
        ticks.push_back(
            {static_cast<double>(RaceDate{year, 1, 1}.dayNumber()), QString::number(year)});
    return ticks;
}

} // namespace

QString dateText(const RaceDate& date)
{
    return u"%1年%2月%3日"_s.arg(date.year)
        .arg(date.month, 2, 10, QChar(u'0'))
        .arg(date.day, 2, 10, QChar(u'0'));
}

void readRaceRows(const QList<LogLine>& lines, std::vector<RaceRow>& rows)
{
    rows.clear();
    rows.reserve(static_cast<std::size_t>(lines.size()));
    for (const LogLine& line : lines) {
        rows.push_back(
            {view(line.field(1)), view(line.field(2)), view(line.field(3)), view(line.field(4))});
    }
}

void readRaceRows(const QList<LogLine>& lines, int first, int last, std::vector<RaceRow>& rows)
{
    last = std::min({last, static_cast<int>(lines.size()) - 1, static_cast<int>(rows.size()) - 1});
    for (int r = std::max(first, 0); r <= last; ++r) {
        const LogLine& line = lines[r];
        rows[static_cast<std::size_t>(r)] = {view(line.field(1)), view(line.field(2)),
                                             view(line.field(3)), view(line.field(4))};
    }
}

TableView bestTableView(const BookAnalysis& analysis, std::span<const RaceRow> rows)
{
    TableView table;
    table.headers = {kEventHeader.toString(), kBestHeader.toString(), kPaceHeader.toString(),
                     kDateHeader.toString(),  kRaceHeader.toString(), kCountHeader.toString()};
    table.columns = {ColumnKind::Text, ColumnKind::Number, ColumnKind::Number,
                     ColumnKind::Text, ColumnKind::Text,   ColumnKind::Number};
    for (const RaceClass& raceClass : analysis.classes) {
        const Race& best = analysis.races[raceClass.best];
        table.rows.push_back(
            std::vector<ViewCell>{{text(raceClass.name)},
                                  {time(best.seconds)},
                                  {time(best.seconds / (best.metres / kMetresPerKm))},
                                  {dateText(best.date)},
                                  {text(rows[best.row].name)},
                                  {QString::number(raceClass.count)}});
    }
    return table;
}

TableView yearTableView(const BookAnalysis& analysis)
{
    TableView table;
    table.headers.append(kYearHeader.toString());
    table.columns.push_back(ColumnKind::Number);
    for (const RaceClass& raceClass : analysis.classes) {
        table.headers.append(text(raceClass.name));
        table.columns.push_back(ColumnKind::Number);
    }
    for (const Season& season : analysis.seasons) {
        std::vector<ViewCell> cells{{QString::number(season.year)}};
        for (std::size_t c = 0; c < season.cells.size(); ++c) {
            const SeasonCell& cell = season.cells[c];
            if (cell.best < 0) {
                cells.push_back(ViewCell());
                continue;
            }
            const double seconds = analysis.races[cell.best].seconds;
            const double best = analysis.races[analysis.classes[c].best].seconds;
            const bool allTime = cell.best == analysis.classes[c].best;
            cells.push_back({u"%1 (%2)"_s.arg(time(seconds)).arg(cell.count),
                             allTime ? u"自己ベスト"_s
                                     : u"自己ベスト %1 との差 %2"_s.arg(
                                           time(best), text(differenceText(seconds, best))),
                             allTime});
        }
        table.rows.push_back(cells);
    }
    return table;
}

TableView unreadableView(const BookAnalysis& analysis, std::span<const RaceRow> rows)
{
    TableView table;
    table.headers = {kNoHeader.toString(), kReasonHeader.toString()};
    table.columns = {ColumnKind::Number, ColumnKind::Text};
    for (const UnreadableRow& row : analysis.unreadable) {
        table.rows.push_back(std::vector<ViewCell>{
            {QString::number(row.row + 1)},
            {u"%1: «%2»"_s.arg(problemText(row.problem),
                               text(problemCell(row.problem, rows[row.row])))}});
    }
    return table;
}

ChartData trendChartData(const BookAnalysis& analysis, const Trend& trend)
{
    ChartData chart;
    chart.kind = ChartData::Kind::Scatter;
    chart.y.reversed = true;
    chart.emptyText = kEmptyChart.toString();
    if (trend.races.empty())
        return chart;

    double fastest = analysis.races[trend.races.front()].seconds;
    double slowest = fastest;
    chart.points.reserve(trend.races.size());
    for (const int r : trend.races) {
        const Race& race = analysis.races[r];
        chart.points.emplace_back(race.day, race.seconds);
        fastest = std::min(fastest, race.seconds);
        slowest = std::max(slowest, race.seconds);
    }
    for (const int r : trend.progression)
        chart.stepLine.emplace_back(analysis.races[r].day, analysis.races[r].seconds);

    // A single day or a single time still needs a span to be drawn across.
    const int firstDay = analysis.races[trend.races.front()].day;
    const int lastDay = analysis.races[trend.races.back()].day;
    const int margin = std::max(15, (lastDay - firstDay) / 40);
    const int halfYear = kDaysPerYear / 2;
    chart.x.min = firstDay - (lastDay - firstDay < halfYear ? halfYear : margin);
    chart.x.max = lastDay + (lastDay - firstDay < halfYear ? halfYear : margin);
    const double timeMargin = std::max(30.0, (slowest - fastest) * kTimeMargin);
    chart.y.min = std::max(0.0, fastest - timeMargin);
    chart.y.max = slowest + timeMargin;
    chart.x.ticks = yearTicks(static_cast<int>(chart.x.min), static_cast<int>(chart.x.max));
    chart.y.ticks = timeTicks(chart.y.min, chart.y.max, kTimeSteps, kMaxTimeTicks);
    return chart;
}

ChartCaptions trendCaptions(const QString& className, const ChartData& chart)
{
    const bool hours =
        std::any_of(chart.y.ticks.begin(), chart.y.ticks.end(),
                    [](const ChartTick& tick) { return tick.label.count(u':') > 1; });
    return {className + u' ' + kTrendFrame.toString(), kTrendYearAxis.toString(),
            (hours ? kTrendTimeAxisHours : kTrendTimeAxisMinutes).toString()};
}

QString trendToolTip(const BookAnalysis& analysis, std::span<const RaceRow> rows, int race)
{
    const Race& r = analysis.races[race];
    return u"%1\n%2\n%3"_s.arg(dateText(r.date), text(rows[r.row].name), time(r.seconds));
}

PredictionView predictionView(const BookAnalysis& analysis, std::span<const RaceRow> rows,
                              const Predictions& predictions)
{
    PredictionView view;
    view.table.headers = {kEventHeader.toString(),
                          kRiegelHeader.toString(),
                          kCameronHeader.toString(),
                          kDanielsHeader.toString(),
                          kOwnHeader.toString() + u'\n' + exponentReason(predictions.ownExponent),
                          kSpreadHeader.toString()};
    view.table.columns.assign(static_cast<std::size_t>(view.table.headers.size()),
                              ColumnKind::Number);
    view.table.columns.front() = ColumnKind::Text;
    if (predictions.race < 0) {
        view.source = kNoPredictionSource.toString();
        return view;
    }
    const Race& from = analysis.races[predictions.race];
    view.source = u"もとにした記録: %1  %2  %3  %4"_s.arg(
        dateText(from.date), text(rows[from.row].name), text(analysis.classes[from.raceClass].name),
        time(from.seconds));
    if (predictions.vdot)
        view.vdot = u"VDOT %1"_s.arg(*predictions.vdot, 0, 'f', 1);
    if (predictions.paces) {
        QStringList paces;
        for (std::size_t i = 0; i < kPaceNames.size(); ++i)
            paces.append(
                u"%1 %2"_s.arg(QString::fromUtf16(kPaceNames[i]), time((*predictions.paces)[i])));
        view.paces = u"練習ペース (1kmあたり)  "_s + paces.join(u"  "_s);
    }
    for (const PredictionRow& row : predictions.rows) {
        std::vector<ViewCell> cells{{text(row.name)}};
        // The spread of the times as the row shows them, each rounded to its whole second:
        // 1:37:41 and 1:37:12 are 0:29 apart, whatever fractions lie behind them.
        std::optional<double> fastest;
        std::optional<double> slowest;
        for (const auto& seconds : row.seconds) {
            cells.push_back({seconds ? time(*seconds) : u"—"_s});
            if (!seconds)
                continue;
            const double shown = roundedSeconds(*seconds);
            fastest = std::min(fastest.value_or(shown), shown);
            slowest = std::max(slowest.value_or(shown), shown);
        }
        cells.push_back({row.spread && slowest ? time(*slowest - *fastest) : QString()});
        view.table.rows.push_back(cells);
    }
    return view;
}

std::optional<Goal> goalFor(double metres, double seconds)
{
    const std::u16string km = numberText(metres / kMetresPerKm);
    if (km.empty() || !std::isfinite(seconds) || seconds < 0.0)
        return std::nullopt;
    // Rounded half up to whole seconds, as the prediction shows it.
    const double whole = roundedSeconds(seconds);
    if (whole > 1e9)
        return std::nullopt;
    const auto total = static_cast<long long>(whole);
    Goal goal{toQString(km), static_cast<int>(total / kSecondsPerHour),
              static_cast<int>(total % kSecondsPerHour / kSecondsPerMinute),
              static_cast<int>(total % kSecondsPerMinute)};

    const QString hours = QString::number(goal.hours);
    const QString minutes = QString::number(goal.minutes);
    const QString secondsText = QString::number(goal.seconds);
    const std::array<std::u16string_view, 4> texts{view(goal.distanceKm), view(hours),
                                                   view(minutes), view(secondsText)};
    if (!checkInputs(Mode::Pace, texts, kKmText).accepted())
        return std::nullopt;
    return goal;
}

} // namespace torvanu
