#include "race_models.h"

#include "calc/time_units.h"
#include "calc/units.h"

#include <cmath>

namespace torvanu {

namespace {

constexpr double kRiegelExponent = 1.06;

constexpr double kCameronBase = 13.49681;
constexpr double kCameronSlope = 0.000030363;
constexpr double kCameronScale = 835.7114;
constexpr double kCameronPower = 0.7905;

constexpr double kCostIntercept = -4.60;
constexpr double kCostLinear = 0.182258;
constexpr double kCostQuadratic = 0.000104;

constexpr double kFractionFloor = 0.8;
constexpr double kFractionSlowWeight = 0.1894393;
constexpr double kFractionSlowRate = 0.012778;
constexpr double kFractionFastWeight = 0.2989558;
constexpr double kFractionFastRate = 0.1932605;

// The search for a Daniels time runs between a second and ten years of running; halving
// that span 40 times leaves less than a hundredth of a second, and the cap keeps any input
// from looping.
constexpr double kShortestMinutes = 1.0 / kSecondsPerMinute;
constexpr double kLongestMinutes = 10.0 * 365.0 * 24.0 * kMinutesPerHour;
constexpr double kTimePrecisionMinutes = 0.01 / kSecondsPerMinute;
constexpr int kMaxHalvings = 200;

bool usable(double metres, double seconds)
{
    return std::isfinite(metres) && std::isfinite(seconds) && metres > 0.0 && seconds > 0.0;
}

std::optional<double> finite(double value)
{
    if (std::isfinite(value) && value > 0.0)
        return value;
    return std::nullopt;
}

} // namespace

std::optional<double> powerLawTime(double metres, double seconds, double targetMetres,
                                   double exponent)
{
    if (!usable(metres, seconds) || !usable(targetMetres, 1.0))
        return std::nullopt;
    return finite(seconds * std::pow(targetMetres / metres, exponent));
}

std::optional<double> riegelTime(double metres, double seconds, double targetMetres)
{
    return powerLawTime(metres, seconds, targetMetres, kRiegelExponent);
}

double cameronFactor(double metres)
{
    return kCameronBase - kCameronSlope * metres + kCameronScale / std::pow(metres, kCameronPower);
}

std::optional<double> cameronTime(double metres, double seconds, double targetMetres)
{
    if (!usable(metres, seconds) || !usable(targetMetres, 1.0))
        return std::nullopt;
    const double from = cameronFactor(metres);
    const double to = cameronFactor(targetMetres);
    if (!(from > 0.0) || !(to > 0.0))
        return std::nullopt;
    return finite(seconds * (targetMetres / metres) * from / to);
}

double oxygenCost(double metresPerMinute)
{
    return kCostIntercept + kCostLinear * metresPerMinute +
           kCostQuadratic * metresPerMinute * metresPerMinute;
}

double sustainableFraction(double minutes)
{
    return kFractionFloor + kFractionSlowWeight * std::exp(-kFractionSlowRate * minutes) +
           kFractionFastWeight * std::exp(-kFractionFastRate * minutes);
}

std::optional<double> vdotOf(double metres, double seconds)
{
    if (!usable(metres, seconds))
        return std::nullopt;
    const double minutes = seconds / kSecondsPerMinute;
    return finite(oxygenCost(metres / minutes) / sustainableFraction(minutes));
}

std::optional<double> danielsTime(double vdot, double targetMetres)
{
    if (!usable(targetMetres, vdot))
        return std::nullopt;
    // The VDOT a race of this distance asks falls as its time grows: the speed falls, and
    // the fraction falls more slowly than the cost.
    const auto asked = [targetMetres](double minutes) {
        return oxygenCost(targetMetres / minutes) / sustainableFraction(minutes);
    };
    double fast = kShortestMinutes;
    double slow = kLongestMinutes;
    if (!(asked(fast) >= vdot) || !(asked(slow) <= vdot))
        return std::nullopt;
    for (int i = 0; i < kMaxHalvings && slow - fast > kTimePrecisionMinutes; ++i) {
        const double middle = 0.5 * (fast + slow);
        if (asked(middle) > vdot)
            fast = middle;
        else
            slow = middle;
    }
    return finite(0.5 * (fast + slow) * kSecondsPerMinute);
}

std::optional<double> speedAtVdot(double vdot)
{
    // q v² + l v − (vdot − c) = 0. The root written as 2C / (l + √(l² + 4qC)) loses nothing
    // to cancellation, where (−l + √…) / 2q would subtract two nearly equal numbers.
    const double constant = vdot - kCostIntercept;
    if (!std::isfinite(constant) || !(constant > 0.0))
        return std::nullopt;
    const double root = std::sqrt(kCostLinear * kCostLinear + 4.0 * kCostQuadratic * constant);
    return finite(2.0 * constant / (kCostLinear + root));
}

std::optional<std::array<double, kTrainingFractions.size()>> trainingPaces(double vdot)
{
    const std::optional<double> speed = speedAtVdot(vdot);
    if (!speed)
        return std::nullopt;
    std::array<double, kTrainingFractions.size()> paces{};
    for (std::size_t i = 0; i < paces.size(); ++i)
        paces[i] = kMetresPerKm / (kTrainingFractions[i] * *speed) * kSecondsPerMinute;
    return paces;
}

ExponentFit fitExponent(std::span<const DistanceTime> bests)
{
    double sumX = 0.0;
    double sumY = 0.0;
    int count = 0;
    for (const DistanceTime& best : bests) {
        if (!usable(best.metres, best.seconds))
            continue;
        sumX += std::log(best.metres);
        sumY += std::log(best.seconds);
        ++count;
    }
    if (count < 2)
        return {std::nullopt, ExponentFit::Problem::TooFewDistances};
    const double meanX = sumX / count;
    const double meanY = sumY / count;
    double covariance = 0.0;
    double variance = 0.0;
    for (const DistanceTime& best : bests) {
        if (!usable(best.metres, best.seconds))
            continue;
        const double dx = std::log(best.metres) - meanX;
        covariance += dx * (std::log(best.seconds) - meanY);
        variance += dx * dx;
    }
    if (!(variance > 0.0))
        return {std::nullopt, ExponentFit::Problem::TooFewDistances};
    const double exponent = covariance / variance;
    if (!(exponent > kLowestExponent && exponent < kHighestExponent))
        return {exponent, ExponentFit::Problem::OutOfBounds};
    return {exponent, ExponentFit::Problem::None};
}

} // namespace torvanu
