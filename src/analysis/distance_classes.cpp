#include "distance_classes.h"

#include <cmath>

namespace torvanu {

namespace {

// The edge itself belongs to the class; without this margin "42.405975km", exactly 0.5 %
// over, would fall out by the last bit of a product.
constexpr double kEdgeMargin = 1e-12;

} // namespace

std::optional<std::size_t> officialDistanceOf(double metres)
{
    for (std::size_t i = 0; i < kOfficialDistances.size(); ++i) {
        const double official = kOfficialDistances[i].metres;
        if (std::abs(metres - official) <= official * (kClassTolerance + kEdgeMargin))
            return i;
    }
    return std::nullopt;
}

} // namespace torvanu
