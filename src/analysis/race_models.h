#pragma once

#include <array>
#include <optional>
#include <span>

namespace torvanu {

// Equivalent performances: from one race (metres, seconds) to the time at another distance.
// Every function gives nothing where its model has no answer, never a made-up figure.

// T2 = T1 · (D2 / D1)^1.06.
std::optional<double> riegelTime(double metres, double seconds, double targetMetres);

// The same law with another exponent, as fitted to a runner's own bests.
std::optional<double> powerLawTime(double metres, double seconds, double targetMetres,
                                   double exponent);

// T2 = T1 · (D2 / D1) · a(D1) / a(D2). The factor a falls below zero beyond about 440 km,
// where the model says nothing.
std::optional<double> cameronTime(double metres, double seconds, double targetMetres);
double cameronFactor(double metres);

// Daniels and Gilbert: oxygen cost of running at a speed (m/min), and the fraction of the
// maximum that can be held for a duration (min).
double oxygenCost(double metresPerMinute);
double sustainableFraction(double minutes);
std::optional<double> vdotOf(double metres, double seconds);
// The time at which a race of the distance asks exactly that VDOT, to 0.01 s.
std::optional<double> danielsTime(double vdot, double targetMetres);
// The speed (m/min) whose oxygen cost is the VDOT: the positive root of the quadratic.
std::optional<double> speedAtVdot(double vdot);

// E, M, T, I and R, as fractions of the speed at the VDOT.
inline constexpr std::array kTrainingFractions = {0.72, 0.85, 0.90, 0.98, 1.05};
// Seconds per kilometre for each of kTrainingFractions.
std::optional<std::array<double, kTrainingFractions.size()>> trainingPaces(double vdot);

struct DistanceTime
{
    double metres = 0.0;
    double seconds = 0.0;
};

// The exponent b of T = a · D^b by least squares in log–log. Meaningful only from two
// distances on, and a runner's b is believed only between these bounds.
inline constexpr double kLowestExponent = 1.0;
inline constexpr double kHighestExponent = 1.3;

struct ExponentFit
{
    enum class Problem
    {
        None,
        TooFewDistances,
        OutOfBounds, // exponent holds the value that was not believed
    };
    std::optional<double> exponent;
    Problem problem = Problem::None;
};

ExponentFit fitExponent(std::span<const DistanceTime> bests);

} // namespace torvanu
