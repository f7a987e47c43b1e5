#pragma once

#include "analysis/distance_classes.h"
#include "analysis/track_point.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace torvanu {

struct EffortDistance
{
    std::u16string_view name;
    double metres = 0.0;
};

// The stretches a runner compares between races, shortest first. Those that are race
// distances too carry the record analysis's own names, so the two tables read alike.
inline constexpr std::array kEffortDistances = {
    EffortDistance{u"400m", 400.0},
    EffortDistance{u"1km", kMetresPerKm},
    EffortDistance{kOfficialDistances[1].name, kOfficialDistances[1].metres},
    EffortDistance{kOfficialDistances[3].name, kOfficialDistances[3].metres},
    EffortDistance{kOfficialDistances[4].name, kOfficialDistances[4].metres},
    EffortDistance{kOfficialDistances[6].name, kOfficialDistances[6].metres},
    EffortDistance{kOfficialDistances[8].name, kOfficialDistances[8].metres},
};
static_assert(kEffortDistances[2].metres == kKmPerMile * kMetresPerKm);
static_assert(kEffortDistances[3].metres == 5000.0);
static_assert(kEffortDistances[4].metres == 10000.0);
static_assert(kEffortDistances[5].metres == kHalfMarathonKm * kMetresPerKm);
static_assert(kEffortDistances[6].metres == kFullMarathonKm * kMetresPerKm);

struct BestEffort
{
    int distance = 0;   // index into kEffortDistances
    double start = 0.0; // metres along the track where the stretch begins
    double seconds = 0.0;

    friend bool operator==(const BestEffort&, const BestEffort&) = default;
};

// The fastest stretch of each effort distance not longer than the track, shortest first, its
// ends interpolated between samples. A pause (time passing at one distance) counts against a
// stretch that spans it, not against one that starts or ends there. A distance that shrinks
// (GPS noise) is held at the most the track had covered.
std::vector<BestEffort> bestEfforts(std::span<const TrackPoint> track);

} // namespace torvanu
