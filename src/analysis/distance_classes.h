#pragma once

#include "calc/race_distances.h"
#include "calc/units.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace torvanu {

struct OfficialDistance
{
    std::u16string_view name;
    double metres = 0.0;
    bool alwaysPredicted = false; // a row of every prediction table, run or not
};

// Shortest first. A race within kClassTolerance of one of them belongs to it: courses are
// measured a little long, and old books write a marathon as "26.2ﾏｲﾙ" or "42.2km".
inline constexpr std::array kOfficialDistances = {
    OfficialDistance{u"1500m", 1500.0, true},
    OfficialDistance{u"1ﾏｲﾙ", kKmPerMile* kMetresPerKm},
    OfficialDistance{u"3000m", 3000.0},
    OfficialDistance{u"5km", 5000.0, true},
    OfficialDistance{u"10km", 10000.0, true},
    OfficialDistance{u"15km", 15000.0},
    OfficialDistance{u"ハーフ", kHalfMarathonKm* kMetresPerKm, true},
    OfficialDistance{u"30km", 30000.0},
    OfficialDistance{u"フル", kFullMarathonKm* kMetresPerKm, true},
    OfficialDistance{u"50km", 50000.0},
    OfficialDistance{u"100km", 100000.0},
};

inline constexpr double kClassTolerance = 0.005;

// The index into kOfficialDistances, or nothing for a distance of a class of its own.
std::optional<std::size_t> officialDistanceOf(double metres);

} // namespace torvanu
