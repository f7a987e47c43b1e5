#pragma once

#include "analysis/book_analysis.h"
#include "analysis/race_models.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace torvanu {

enum class PredictionModel
{
    Riegel,
    Cameron,
    Daniels,
    OwnExponent,
};
inline constexpr std::size_t kPredictionModels = 4;

// Predictions from one race are drawn only from classes at least this long: shorter races
// say more about speed than about endurance.
inline constexpr double kShortestPredictingMetres = 3000.0;

struct PredictionRow
{
    std::u16string name;
    double metres = 0.0;
    std::array<std::optional<double>, kPredictionModels> seconds; // by PredictionModel
    std::optional<double> spread; // slowest − fastest, from two models on
};

struct Predictions
{
    int race = -1; // index into BookAnalysis::races
    std::optional<double> vdot;
    std::optional<std::array<double, kTrainingFractions.size()>> paces; // seconds per km
    ExponentFit ownExponent;
    std::vector<PredictionRow> rows; // shortest first
};

// The newest race that holds the best of a class of kShortestPredictingMetres or more.
std::optional<int> defaultPredictionRace(const BookAnalysis& analysis);

Predictions predictFrom(const BookAnalysis& analysis, int race);

} // namespace torvanu
