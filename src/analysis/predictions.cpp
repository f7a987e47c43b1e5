#include "predictions.h"

#include "analysis/distance_classes.h"

#include <algorithm>

namespace torvanu {

namespace {

bool predicting(const RaceClass& raceClass)
{
    return raceClass.metres >= kShortestPredictingMetres;
}

std::vector<PredictionRow> targets(const BookAnalysis& analysis)
{
    std::vector<PredictionRow> rows;
    for (const OfficialDistance& official : kOfficialDistances) {
        if (official.alwaysPredicted)
            rows.push_back({std::u16string(official.name), official.metres, {}, {}});
    }
    for (const RaceClass& raceClass : analysis.classes) {
        const bool shown = std::any_of(rows.begin(), rows.end(), [&](const PredictionRow& row) {
            return row.name == raceClass.name;
        });
        if (!shown)
            rows.push_back({raceClass.name, raceClass.metres, {}, {}});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const PredictionRow& a, const PredictionRow& b) {
        return a.metres < b.metres;
    });
    return rows;
}

ExponentFit fitOwnExponent(const BookAnalysis& analysis)
{
    std::vector<DistanceTime> bests;
    for (const RaceClass& raceClass : analysis.classes) {
        if (predicting(raceClass) && raceClass.best >= 0) {
            const Race& best = analysis.races[raceClass.best];
            bests.push_back({best.metres, best.seconds});
        }
    }
    return fitExponent(bests);
}

} // namespace

std::optional<int> defaultPredictionRace(const BookAnalysis& analysis)
{
    std::optional<int> newest;
    for (const RaceClass& raceClass : analysis.classes) {
        if (!predicting(raceClass) || raceClass.best < 0)
            continue;
        if (!newest || analysis.runsBefore(*newest, raceClass.best))
            newest = raceClass.best;
    }
    return newest;
}

Predictions predictFrom(const BookAnalysis& analysis, int race)
{
    Predictions predictions;
    if (race < 0 || race >= static_cast<int>(analysis.races.size()))
        return predictions;
    predictions.race = race;
    const Race& from = analysis.races[race];
    predictions.vdot = vdotOf(from.metres, from.seconds);
    if (predictions.vdot)
        predictions.paces = trainingPaces(*predictions.vdot);
    predictions.ownExponent = fitOwnExponent(analysis);
    const bool ownBelieved = predictions.ownExponent.problem == ExponentFit::Problem::None;

    predictions.rows = targets(analysis);
    for (PredictionRow& row : predictions.rows) {
        auto& seconds = row.seconds;
        seconds[static_cast<std::size_t>(PredictionModel::Riegel)] =
            riegelTime(from.metres, from.seconds, row.metres);
        seconds[static_cast<std::size_t>(PredictionModel::Cameron)] =
            cameronTime(from.metres, from.seconds, row.metres);
        if (predictions.vdot)
            seconds[static_cast<std::size_t>(PredictionModel::Daniels)] =
                danielsTime(*predictions.vdot, row.metres);
        if (ownBelieved)
            seconds[static_cast<std::size_t>(PredictionModel::OwnExponent)] = powerLawTime(
                from.metres, from.seconds, row.metres, *predictions.ownExponent.exponent);

        std::optional<double> fastest;
        std::optional<double> slowest;
        int models = 0;
        for (const auto& time : seconds) {
            if (!time)
                continue;
            ++models;
            fastest = fastest ? std::min(*fastest, *time) : *time;
            slowest = slowest ? std::max(*slowest, *time) : *time;
        }
        if (models >= 2)
            row.spread = *slowest - *fastest;
    }
    return predictions;
}

} // namespace torvanu
