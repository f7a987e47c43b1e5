#include "views/race_detail/profile_chart.h"

#include "views/charts/number_ticks.h"
#include "views/race_detail/race_detail_texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr double kMetresPerKm = 1000.0;
constexpr std::array<double, 7> kKmSteps = {1, 2, 5, 10, 20, 50, 100};
constexpr int kMaxKmTicks = 10;
constexpr std::array<double, 12> kValueSteps = {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000};
constexpr int kMaxValueTicks = 5;
// A flat course's few metres of GPS noise would otherwise fill the chart's height as hills.
constexpr double kLeastElevationSpan = 40;
constexpr double kLeastHeartRateSpan = 30;
constexpr double kMargin = 0.08; // of the span, above and below the values

const QColor kElevationColour(0x7a, 0x6a, 0x4f);
const QColor kHeartRateColour(0xd0, 0x30, 0x40);

// The channel against the km, or nothing when it holds no sample at all.
std::vector<QPointF> againstKm(const std::vector<TrackPoint>& track,
                               const std::vector<float>& channel)
{
    std::vector<QPointF> points;
    if (channel.size() != track.size() ||
        std::none_of(channel.begin(), channel.end(), [](float v) { return std::isfinite(v); }))
        return points;
    points.reserve(track.size());
    for (std::size_t i = 0; i < track.size(); ++i)
        points.emplace_back(track[i].distance / kMetresPerKm, channel[i]);
    return points;
}

ChartAxis valueAxis(const std::vector<QPointF>& points, double leastSpan, const QString& unit)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const QPointF& point : points) {
        if (std::isfinite(point.y())) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    const double widen = std::max(0.0, leastSpan - (high - low)) / 2;
    low -= widen;
    high += widen;
    const double margin = (high - low) * kMargin;
    ChartAxis axis;
    axis.min = low - margin;
    axis.max = high + margin;
    axis.ticks = numberTicks(axis.min, axis.max, kValueSteps, kMaxValueTicks, unit);
    return axis;
}

} // namespace

ProfileChart profileChart(const Activity& activity)
{
    ProfileChart profile;
    ChartData& chart = profile.chart;
    chart.kind = ChartData::Kind::Lines;
    chart.emptyText = kNoProfile.toString();
    std::vector<QPointF> elevation = againstKm(activity.track, activity.channels.altitude);
    std::vector<QPointF> heartRate = againstKm(activity.track, activity.channels.heartRate);
    if (elevation.empty() && heartRate.empty()) {
        profile.note = kNoProfile.toString();
        return profile;
    }
    chart.x.min = 0;
    chart.x.max = std::max(activity.track.back().distance / kMetresPerKm, 0.001);
    chart.x.ticks = numberTicks(0, chart.x.max, kKmSteps, kMaxKmTicks, u"km"_s);

    // What the file has goes on the left; heart rate takes the right beside an elevation.
    if (!elevation.empty()) {
        chart.y = valueAxis(elevation, kLeastElevationSpan, {});
        chart.series.push_back(
            {kElevationSeries.toString(), kElevationColour, false, std::move(elevation)});
    } else {
        profile.note = kNoElevation.toString();
    }
    if (!heartRate.empty()) {
        const bool right = !chart.series.empty();
        ChartAxis axis = valueAxis(heartRate, kLeastHeartRateSpan, {});
        if (right)
            chart.y2 = std::move(axis);
        else
            chart.y = std::move(axis);
        chart.series.push_back(
            {kHeartRateSeries.toString(), kHeartRateColour, right, std::move(heartRate)});
    } else {
        profile.note = kNoHeartRate.toString();
    }
    return profile;
}

} // namespace torvanu
