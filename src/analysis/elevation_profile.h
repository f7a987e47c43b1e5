#pragma once

#include <span>
#include <vector>

namespace torvanu {

struct Climb
{
    double ascent = 0;  // metres up
    double descent = 0; // metres down, as a positive number
};

// The elevation along a course, smoothed against the noise of GPS and barometric altitudes,
// with what it climbs and what running it costs:
//  1. the altitudes are resampled every 10 m of distance (linearly between the points that
//     have one), so that standing still at a drinks table adds no noise, and a stretch
//     recorded every second counts no more than one recorded every ten;
//  2. a moving average over 50 m of course evens out the jitter of single samples;
//  3. climbing counts with a hysteresis of 2 m: a rise or fall is counted only once the
//     elevation has turned back by more than that from its highest or lowest point, and then
//     whole, from the last turning point, so that a flat road's wobble counts nothing and a
//     real hill counts all its height.
// Gradients for the cost of running are taken over each 10 m of the smoothed elevation.
class ElevationProfile
{
public:
    ElevationProfile() = default;
    // distances: metres along the course, never decreasing; altitudes: metres, as many as the
    // distances, NaN where a point has none.
    ElevationProfile(std::span<const double> distances, std::span<const float> altitudes);

    bool empty() const { return m_smoothed.empty(); }
    double start() const { return m_start; } // metres along the course of the first sample
    double step() const { return m_step; }
    const std::vector<double>& smoothed() const { return m_smoothed; }

    Climb total() const;
    // Up and down between two distances along the course.
    Climb between(double from, double to) const;
    // The distance-weighted mean of the flat-equivalent factor (see flatEquivalent) between
    // two distances; 1 where the profile has no elevation.
    double effortFactor(double from, double to) const;

private:
    // Cumulative values at a distance, linear between samples, held beyond the ends.
    double at(const std::vector<double>& cumulative, double distance) const;

    double m_start = 0;
    double m_step = 0;
    std::vector<double> m_smoothed;
    std::vector<double> m_ascent;  // counted climb from the start to each sample
    std::vector<double> m_descent; // the same for descent
    std::vector<double> m_flat;    // flat-equivalent metres from the start to each sample
};

} // namespace torvanu
