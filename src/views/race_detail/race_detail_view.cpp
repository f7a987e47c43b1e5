#include "views/race_detail/race_detail_view.h"

#include "calc/cell_format.h"
#include "calc/clock_text.h"
#include "analysis/time_text.h"
#include "views/charts/time_ticks.h"
#include "views/race_detail/race_detail_texts.h"
#include "storage/text_bridge.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr std::array<double, 8> kPaceSteps = {5, 10, 15, 30, 60, 120, 300, 600};
constexpr int kMaxPaceTicks = 6;
constexpr double kPaceMargin = 0.15; // of the span between the fastest and slowest pace
constexpr double kLeastPaceMargin = 10;
// Labels under the bars are thinned out so that two never touch: a label every km up to
// this many bars, then every 2, 5 or 10 km.
constexpr std::array<std::pair<int, int>, 3> kLabelSteps = {{{12, 1}, {25, 2}, {60, 5}}};
constexpr int kWidestLabelStep = 10;

QString time(double seconds)
{
    return toQString(timeText(seconds));
}

QString pace(double secondsPerKm)
{
    return time(secondsPerKm) + u"/km"_s;
}

QString km(double metres, int decimals)
{
    QString text = QString::number(metres / kMetresPerKm, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text + u"km"_s;
}

QString percent(double value)
{
    const QString digits = QString::number(std::abs(value), 'f', 1);
    if (digits == u"0.0"_s)
        return u"±0.0%"_s;
    return (value < 0 ? u"-"_s : u"+"_s) + digits + u"%"_s;
}

QString whole(double value)
{
    return QString::number(std::lround(value));
}

// The cells a row gets from the channels. Its lap is given in seconds: the adjusted pace is
// that lap as it would have gone on the flat, a time like the lap beside it (for a whole km
// its pace per km), so that the two columns compare at a glance and stay narrow.
QStringList channelCells(const RaceChannels& channels, std::size_t row, double lap)
{
    const KmChannels none;
    const KmChannels& of = row < channels.rows.size() ? channels.rows[row] : none;
    const auto cell = [](const std::optional<double>& value, QStringView unit) {
        return value ? whole(*value) + unit.toString() : QString();
    };
    QStringList cells;
    if (channels.heartRate)
        cells.append(cell(of.heartRate, {}));
    if (channels.altitude) {
        cells.append(cell(of.ascent, u"m"));
        cells.append(cell(of.descent, u"m"));
        cells.append(of.effortFactor && *of.effortFactor > 0
                         ? time(roundedSeconds(lap / *of.effortFactor))
                         : QString());
    }
    return cells;
}

QString summaryOf(const RaceAnalysis& analysis, double finish, const RaceChannels& channels)
{
    QStringList lines{
        kSummaryTotals.toString().arg(km(analysis.finishDistance, 3), time(finish),
                                      pace(finish / (analysis.finishDistance / kMetresPerKm)))};
    QStringList parts;
    if (channels.averageHeartRate && channels.maxHeartRate)
        parts.append(kSummaryHeartRate.toString().arg(whole(*channels.averageHeartRate),
                                                      whole(*channels.maxHeartRate)));
    if (channels.ascent && channels.descent)
        parts.append(
            kSummaryClimb.toString().arg(whole(*channels.ascent), whole(*channels.descent)));
    if (channels.averageCadence)
        parts.append(kSummaryCadence.toString().arg(whole(*channels.averageCadence)));
    if (!parts.isEmpty())
        lines.append(parts.join(kSummarySeparator));
    return lines.join(u'\n');
}

QString missingOf(const RaceChannels& channels)
{
    QStringList missing;
    if (!channels.heartRate)
        missing.append(kHeartRateChannel.toString());
    if (!channels.altitude)
        missing.append(kAltitudeChannel.toString());
    if (!channels.cadence)
        missing.append(kCadenceChannel.toString());
    return missing.isEmpty() ? QString()
                             : kMissingChannels.toString().arg(missing.join(kChannelJoin));
}

int labelStep(int bars)
{
    for (const auto& [most, step] : kLabelSteps) {
        if (bars <= most)
            return step;
    }
    return kWidestLabelStep;
}

} // namespace

EvenPace evenPace(const QString& timeCell, const QString& distanceCell,
                  const RaceAnalysis& analysis)
{
    const CellReading<double> seconds = readTimeCell(toU16(timeCell));
    const CellReading<double> metres = readDistanceCell(toU16(distanceCell));
    if (seconds.ok() && metres.ok())
        return {seconds.value / (metres.value / kMetresPerKm), true};
    if (analysis.finishDistance > 0)
        return {analysis.finishTime / (analysis.finishDistance / kMetresPerKm), false};
    return {};
}

RaceDetailView raceDetailView(const RaceAnalysis& analysis, const EvenPace& even,
                              const RaceChannels& channels)
{
    RaceDetailView view;
    view.headers = {kPointHeader.toString(), kPassingHeader.toString(), kLapHeader.toString(),
                    kAgainstEvenHeader.toString()};
    if (channels.heartRate)
        view.headers.append(kHeartRateHeader.toString());
    if (channels.altitude)
        view.headers.append(
            {kAscentHeader.toString(), kDescentHeader.toString(), kAdjustedPaceHeader.toString()});

    std::vector<double> laps;
    laps.reserve(analysis.splits.size());
    double passed = 0;
    for (const KmSplit& split : analysis.splits) {
        const double passing = roundedSeconds(split.time);
        laps.push_back(passing - passed);
        view.rows.push_back(QStringList{km(split.km * kMetresPerKm, 0), time(passing),
                                        time(laps.back()),
                                        toQString(differenceText(laps.back(), even.secondsPerKm))} +
                            channelCells(channels, view.rows.size(), laps.back()));
        passed = passing;
    }
    const double finish = roundedSeconds(analysis.finishTime);
    if (analysis.restDistance > 0 || finish > passed) {
        const double rest = finish - passed;
        view.rows.push_back(
            QStringList{km(analysis.finishDistance, 3), time(finish), time(rest),
                        toQString(differenceText(rest, even.secondsPerKm * analysis.restDistance /
                                                           kMetresPerKm))} +
            channelCells(channels, view.rows.size(), rest));
    }

    view.summary = summaryOf(analysis, finish, channels);
    view.missingChannels = missingOf(channels);
    const double firstHalf = roundedSeconds(analysis.firstHalf);
    view.halfSplit = u"前半 %1　後半 %2"_s.arg(time(firstHalf), time(finish - firstHalf));
    if (analysis.halfSplitPercent)
        view.halfSplit += u"（%1）"_s.arg(percent(*analysis.halfSplitPercent));
    const auto lapOf = [&](int kmNumber) {
        return u"%1km目 %2"_s.arg(kmNumber).arg(time(laps[static_cast<std::size_t>(kmNumber - 1)]));
    };
    if (analysis.fastestKm)
        view.fastest = u"最速 "_s + lapOf(*analysis.fastestKm);
    if (analysis.slowestKm)
        view.slowest = u"最遅 "_s + lapOf(*analysis.slowestKm);
    view.evenPace = u"均等ペース %1（%2）"_s.arg(pace(even.secondsPerKm),
                                                 even.fromRecord ? u"記録のタイムと距離から"_s
                                                                 : u"ファイルのタイムと距離から"_s);

    ChartData& chart = view.chart;
    chart.kind = ChartData::Kind::Bars;
    chart.emptyText = kShortTrack.toString();
    if (laps.empty())
        return view;
    const int step = labelStep(static_cast<int>(laps.size()));
    for (std::size_t i = 0; i < laps.size(); ++i) {
        chart.points.emplace_back(static_cast<double>(i), laps[i]);
        const int kmNumber = static_cast<int>(i) + 1;
        chart.barLabels.push_back(kmNumber % step == 0 || step == 1 ? QString::number(kmNumber)
                                                                    : QString());
        view.barTips.append(u"%1km目 %2\n均等ペースとの差 %3"_s.arg(kmNumber).arg(
            pace(laps[i]), toQString(differenceText(laps[i], even.secondsPerKm))));
    }
    const auto [fastest, slowest] = std::minmax_element(laps.begin(), laps.end());
    const double low = std::min(*fastest, even.secondsPerKm);
    const double high = std::max(*slowest, even.secondsPerKm);
    const double margin = std::max(kLeastPaceMargin, (high - low) * kPaceMargin);
    chart.x.min = 0;
    chart.x.max = static_cast<double>(laps.size());
    chart.y.min = std::max(0.0, low - margin);
    chart.y.max = high + margin;
    chart.y.ticks = timeTicks(chart.y.min, chart.y.max, kPaceSteps, kMaxPaceTicks);
    chart.referenceLine = even.secondsPerKm;
    chart.referenceLabel = u"均等"_s;
    return view;
}

} // namespace torvanu
