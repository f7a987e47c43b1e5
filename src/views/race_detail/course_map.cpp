#include "views/race_detail/course_map.h"

#include "views/race_detail/race_detail_texts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>

using namespace Qt::StringLiterals;

namespace torvanu {

namespace {

constexpr double kEarthRadius = 6'371'008.8; // metres, the mean radius
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
constexpr double kMarkEvery = 5000; // metres
// 5000 km: more than any race, and a bound on the work a file of wild distances can cause.
constexpr int kMaxMarks = 1000;
constexpr double kPaceWindow = 100;     // metres either side: GPS jitter smoothed out
constexpr double kRampShare = 0.05;     // of the paces left out at either end of the ramp
constexpr double kScaleBarShare = 0.25; // of the course's extent, at most
constexpr double kLeastScaleBar = 10;   // metres
constexpr double kLeastExtent = 1;      // metres: a course that never moved still scales
constexpr std::array<double, 3> kRoundLengths = {5, 2, 1};

// ColorBrewer's red–yellow–blue ramp, which stays readable to most colour-blind eyes.
constexpr std::array<QRgb, 5> kRamp = {0x4575b4, 0x91bfdb, 0xfee090, 0xfc8d59, 0xd73027};

// Degrees east of reference, from -180 to 180: a course across the 180th meridian stays
// whole instead of spanning the globe.
double eastOf(double longitude, double reference)
{
    const double east = longitude - reference; // both within ±180
    return east > 180 ? east - 360 : east < -180 ? east + 360 : east;
}

bool hasFix(const GeoPoint& position)
{
    return std::isfinite(position.latitude) && std::isfinite(position.longitude) &&
           std::abs(position.latitude) <= 90 && std::abs(position.longitude) <= 180;
}

// Seconds per km over kPaceWindow either side of each point; infinite where the runner stood.
// Two pointers over the distances, which never shrink along a track.
std::vector<double> smoothedPaces(const std::vector<TrackPoint>& track)
{
    std::vector<double> paces(track.size());
    std::size_t low = 0;
    std::size_t high = 0;
    for (std::size_t i = 0; i < track.size(); ++i) {
        const double at = track[i].distance;
        while (track[low].distance < at - kPaceWindow)
            ++low;
        high = std::max(high, i);
        while (high + 1 < track.size() && track[high + 1].distance <= at + kPaceWindow)
            ++high;
        const double metres = track[high].distance - track[low].distance;
        const double seconds = track[high].time - track[low].time;
        paces[i] = metres > 0 ? seconds / metres * 1000 : std::numeric_limits<double>::infinity();
    }
    return paces;
}

// The pace share of the way from the fastest to the slowest; reorders paces.
double nthPace(std::vector<double>& paces, double share)
{
    const auto at = paces.begin() + static_cast<std::ptrdiff_t>(share * (paces.size() - 1));
    std::nth_element(paces.begin(), at, paces.end());
    return *at;
}

} // namespace

std::optional<CourseMap> courseMap(const Activity& activity)
{
    const std::vector<TrackPoint>& track = activity.track;
    const std::vector<GeoPoint>& positions = activity.channels.position;
    if (positions.size() != track.size() || track.empty())
        return std::nullopt;
    const auto firstFix = std::find_if(positions.begin(), positions.end(), hasFix);
    if (firstFix == positions.end())
        return std::nullopt;
    const double reference = firstFix->longitude;
    double latitudes = 0;
    double longitudes = 0; // east of the first fix
    std::size_t fixes = 0;
    for (const GeoPoint& position : positions) {
        if (hasFix(position)) {
            latitudes += position.latitude;
            longitudes += eastOf(position.longitude, reference);
            ++fixes;
        }
    }

    CourseMap map;
    const double meanLatitude = latitudes / fixes;
    const double meanLongitude = longitudes / fixes;
    const double north = kEarthRadius * kRadiansPerDegree;
    const double east = north * std::cos(meanLatitude * kRadiansPerDegree);
    map.points.reserve(track.size());
    double left = std::numeric_limits<double>::infinity();
    double right = -left;
    double bottom = left;
    double top = -left;
    for (const GeoPoint& position : positions) {
        if (!hasFix(position)) {
            map.points.emplace_back(std::nan(""), std::nan(""));
            continue;
        }
        const QPointF at((eastOf(position.longitude, reference) - meanLongitude) * east,
                         (position.latitude - meanLatitude) * north);
        map.points.push_back(at);
        left = std::min(left, at.x());
        right = std::max(right, at.x());
        bottom = std::min(bottom, at.y());
        top = std::max(top, at.y());
    }
    map.bounds = QRectF(QPointF(left, bottom), QPointF(right, top));
    map.scaleBarMetres = scaleBarMetres(std::max(map.bounds.width(), map.bounds.height()));

    const std::vector<double> paces = smoothedPaces(track);
    std::vector<double> finite;
    finite.reserve(paces.size());
    std::copy_if(paces.begin(), paces.end(), std::back_inserter(finite),
                 [](double pace) { return std::isfinite(pace); });
    if (!finite.empty()) {
        map.fastPace = nthPace(finite, kRampShare);
        map.slowPace = nthPace(finite, 1 - kRampShare);
    }
    const double span = map.slowPace - map.fastPace;
    map.speed.reserve(track.size());
    for (const double pace : paces) {
        const double speed = span > 0 ? (map.slowPace - std::min(pace, map.slowPace)) / span : 0.5;
        map.speed.push_back(static_cast<float>(std::clamp(speed, 0.0, 1.0)));
    }

    const auto first = std::find_if(map.points.begin(), map.points.end(),
                                    [](const QPointF& p) { return std::isfinite(p.x()); });
    const auto last = std::find_if(map.points.rbegin(), map.points.rend(),
                                   [](const QPointF& p) { return std::isfinite(p.x()); });
    map.start = {*first, kStartMark.toString()};
    map.finish = {*last, kFinishMark.toString()};

    // Each mark between the two points either side of it, when both have a fix.
    const double finishDistance = track.back().distance;
    std::size_t segment = 0;
    for (int k = 1; k <= kMaxMarks && k * kMarkEvery < finishDistance; ++k) {
        const double mark = k * kMarkEvery;
        while (segment + 1 < track.size() && track[segment + 1].distance < mark)
            ++segment;
        if (segment + 1 >= track.size())
            break;
        const QPointF& from = map.points[segment];
        const QPointF& to = map.points[segment + 1];
        if (!std::isfinite(from.x()) || !std::isfinite(to.x()))
            continue;
        const double metres = track[segment + 1].distance - track[segment].distance;
        const double share = metres > 0 ? (mark - track[segment].distance) / metres : 1.0;
        map.marks.push_back({from + (to - from) * std::clamp(share, 0.0, 1.0),
                             QString::number(k * kMarkEvery / 1000) + u"km"_s});
    }
    return map;
}

double scaleBarMetres(double extent)
{
    const double wanted = std::max(extent * kScaleBarShare, kLeastScaleBar);
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double times : kRoundLengths) {
        if (times * power <= wanted)
            return times * power;
    }
    return power;
}

QString scaleBarText(double metres)
{
    return QString::number(metres / 1000, 'g', 3) + u"km"_s;
}

QTransform courseTransform(const QRectF& bounds, const QRectF& area)
{
    const double width = std::max(bounds.width(), kLeastExtent);
    const double height = std::max(bounds.height(), kLeastExtent);
    const double scale = std::max(0.0, std::min(area.width() / width, area.height() / height));
    QTransform transform;
    transform.translate(area.center().x(), area.center().y());
    transform.scale(scale, -scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform;
}

QColor paceColour(double speed)
{
    const double place = std::clamp(speed, 0.0, 1.0) * (kRamp.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(place));
    const std::size_t above = std::min(below + 1, kRamp.size() - 1);
    const double share = place - below;
    const QColor from(kRamp[below]);
    const QColor to(kRamp[above]);
    return QColor::fromRgbF(
        static_cast<float>(from.redF() + (to.redF() - from.redF()) * share),
        static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * share),
        static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * share));
}

} // namespace torvanu
