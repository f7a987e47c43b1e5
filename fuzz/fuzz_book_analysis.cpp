// The record analysis and its predictions from arbitrary rows of cells.
//
// Input: rows separated by '\n', each row's date, name, distance and time cells separated by
// '|'. Bytes below 0x80 stand for themselves; a few above stand for the marks and characters
// the cells are written in (年, 月, 日, 時間, 分, 秒, ﾏｲﾙ, full-width digits, U+3000), so that
// short inputs reach past the cell readers.
//
// Checked: every race read has a finite, positive distance and time; the best of a class or
// of a season is never slower than any race of it; the classes run shortest first and count
// every race; a trend only ever gets faster and ends on the best; analysing again into the
// storage of another analysis gives the same result; every prediction, VDOT and training pace
// is either absent or finite and positive.

#include "analysis/book_analysis.h"
#include "analysis/predictions.h"
#include "analysis/time_text.h"
#include "property.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace torvanu;
using fuzz::require;

namespace {

// Predicting is the costly part: from this many races per input, not all of them.
constexpr std::size_t kPredictedRaces = 4;
constexpr double kRoundingSlack = 1e-12;
constexpr double kSearchPrecisionSeconds = 0.02;

std::u16string_view typed(std::uint8_t byte)
{
    static const std::u16string_view kTable[] = {
        u"年", u"月", u"日", u"時間", u"分", u"秒", u"ﾏｲﾙ", u"km", u"m",  u"\u3000", u"．", u"－",
        u"０", u"１", u"２", u"３",   u"４", u"５", u"６",  u"７", u"８", u"９",     u"e",
    };
    constexpr std::size_t kEntries = sizeof kTable / sizeof kTable[0];
    return kTable[(byte - 0x80) % kEntries];
}

std::vector<std::vector<std::u16string>> cellsOf(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::vector<std::u16string>> rows(1, std::vector<std::u16string>(1));
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (byte == '\n') {
            rows.emplace_back(1);
        } else if (byte == '|') {
            rows.back().emplace_back();
        } else if (byte < 0x80) {
            rows.back().back() += static_cast<char16_t>(byte);
        } else {
            rows.back().back() += typed(byte);
        }
    }
    return rows;
}

bool positive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

bool absentOrPositive(const std::optional<double>& value)
{
    return !value || positive(*value);
}

bool sameAnalysis(const BookAnalysis& a, const BookAnalysis& b)
{
    if (a.races.size() != b.races.size() || a.classes.size() != b.classes.size() ||
        a.unreadable.size() != b.unreadable.size() || a.seasons.size() != b.seasons.size())
        return false;
    for (std::size_t i = 0; i < a.races.size(); ++i) {
        const Race& x = a.races[i];
        const Race& y = b.races[i];
        if (x.row != y.row || x.day != y.day || x.metres != y.metres || x.seconds != y.seconds ||
            x.raceClass != y.raceClass)
            return false;
    }
    for (std::size_t i = 0; i < a.classes.size(); ++i) {
        if (a.classes[i].best != b.classes[i].best || a.classes[i].count != b.classes[i].count ||
            a.classes[i].name != b.classes[i].name)
            return false;
    }
    for (std::size_t i = 0; i < a.seasons.size(); ++i) {
        if (a.seasons[i].year != b.seasons[i].year ||
            a.seasons[i].cells.size() != b.seasons[i].cells.size())
            return false;
        for (std::size_t c = 0; c < a.seasons[i].cells.size(); ++c) {
            if (a.seasons[i].cells[c].best != b.seasons[i].cells[c].best ||
                a.seasons[i].cells[c].count != b.seasons[i].cells[c].count)
                return false;
        }
    }
    return true;
}

void checkRacesAndClasses(const BookAnalysis& analysis, std::size_t rowCount)
{
    const int races = static_cast<int>(analysis.races.size());
    const int classes = static_cast<int>(analysis.classes.size());
    require(analysis.races.size() + analysis.unreadable.size() == rowCount,
            "every row is a race or unreadable");
    for (const Race& race : analysis.races) {
        require(positive(race.metres) && positive(race.seconds),
                "a race has a finite, positive distance and time");
        require(race.raceClass >= 0 && race.raceClass < classes, "a race has a class");
        require(race.date.year >= kFirstRaceYear && race.date.year <= kLastRaceYear,
                "a race's year is in range");
    }
    int counted = 0;
    for (int c = 0; c < classes; ++c) {
        const RaceClass& raceClass = analysis.classes[c];
        require(c == 0 || analysis.classes[c - 1].metres <= raceClass.metres,
                "classes run shortest first");
        require(raceClass.best >= 0 && raceClass.best < races &&
                    analysis.races[raceClass.best].raceClass == c,
                "a class's best is one of its races");
        counted += raceClass.count;
        const double best = analysis.races[raceClass.best].seconds;
        for (const Race& race : analysis.races) {
            if (race.raceClass == c)
                require(!(race.seconds < best), "no race of a class beats its best");
        }
    }
    require(counted == races, "the classes count every race");
}

void checkSeasons(const BookAnalysis& analysis)
{
    const int races = static_cast<int>(analysis.races.size());
    for (std::size_t s = 0; s < analysis.seasons.size(); ++s) {
        const Season& season = analysis.seasons[s];
        require(s == 0 || analysis.seasons[s - 1].year < season.year, "seasons run earliest first");
        require(season.cells.size() == analysis.classes.size(), "a season has a cell per class");
        for (std::size_t c = 0; c < season.cells.size(); ++c) {
            const SeasonCell& cell = season.cells[c];
            if (cell.best < 0) {
                require(cell.count == 0, "a season cell without a best counts no race");
                continue;
            }
            require(cell.best < races, "a season best is a race");
            const Race& best = analysis.races[cell.best];
            require(best.date.year == season.year && best.raceClass == static_cast<int>(c),
                    "a season best is of its year and class");
            for (const Race& race : analysis.races) {
                if (race.date.year == season.year && race.raceClass == static_cast<int>(c))
                    require(!(race.seconds < best.seconds), "no race of a season beats its best");
            }
        }
    }
}

void checkTrends(const BookAnalysis& analysis)
{
    for (int c = 0; c < static_cast<int>(analysis.classes.size()); ++c) {
        const Trend trend = trendOf(analysis, c);
        require(static_cast<int>(trend.races.size()) == analysis.classes[c].count,
                "a trend holds every race of its class");
        require(!trend.progression.empty(), "a class's trend has a first best");
        for (std::size_t i = 1; i < trend.progression.size(); ++i) {
            require(analysis.races[trend.progression[i]].seconds <
                        analysis.races[trend.progression[i - 1]].seconds,
                    "a progression only gets faster");
        }
        require(analysis.races[trend.progression.back()].seconds ==
                    analysis.races[analysis.classes[c].best].seconds,
                "a progression ends on the best time");
    }
}

void checkPredictions(const BookAnalysis& analysis, int race)
{
    const Predictions predictions = predictFrom(analysis, race);
    require(predictions.race == race, "the predictions are from the race asked");
    require(absentOrPositive(predictions.vdot), "a VDOT is finite and positive");
    if (predictions.paces) {
        for (const double pace : *predictions.paces)
            require(positive(pace), "a training pace is finite and positive");
    }
    if (predictions.ownExponent.exponent)
        require(std::isfinite(*predictions.ownExponent.exponent), "a fitted exponent is finite");
    if (predictions.ownExponent.problem == ExponentFit::Problem::None)
        require(predictions.ownExponent.exponent.has_value(), "a believed exponent has a value");
    std::array<std::optional<double>, kPredictionModels> shorter;
    for (std::size_t i = 0; i < predictions.rows.size(); ++i) {
        const PredictionRow& row = predictions.rows[i];
        for (std::size_t m = 0; m < kPredictionModels; ++m) {
            // A longer race never takes less time in any model; the search for the Daniels
            // time stops within a hundredth of a second.
            if (shorter[m] && row.seconds[m])
                require(*row.seconds[m] >=
                            *shorter[m] * (1.0 - kRoundingSlack) - kSearchPrecisionSeconds,
                        "a longer distance is predicted no faster");
            if (row.seconds[m])
                shorter[m] = row.seconds[m];
        }
        require(positive(row.metres), "a prediction's distance is finite and positive");
        require(i == 0 || predictions.rows[i - 1].metres <= row.metres,
                "prediction rows run shortest first");
        for (const std::optional<double>& seconds : row.seconds) {
            require(absentOrPositive(seconds), "a prediction is absent or finite and positive");
            if (seconds)
                (void)timeText(*seconds);
        }
        if (row.spread)
            require(std::isfinite(*row.spread) && *row.spread >= 0.0,
                    "a spread is finite and not negative");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::vector<std::u16string>> cells = cellsOf(data, size);
    std::vector<RaceRow> rows;
    rows.reserve(cells.size());
    for (const std::vector<std::u16string>& row : cells) {
        const auto cell = [&row](std::size_t i) {
            return i < row.size() ? std::u16string_view(row[i]) : std::u16string_view();
        };
        rows.push_back({cell(0), cell(1), cell(2), cell(3)});
    }

    const BookAnalysis analysis = analyseBook(rows);
    checkRacesAndClasses(analysis, rows.size());
    checkSeasons(analysis);
    checkTrends(analysis);

    // A window that follows edits analyses into the storage of its last analysis: what was
    // there before must not leak into the new one.
    std::vector<ParsedRow> parsed;
    for (const RaceRow& row : rows)
        parsed.push_back(parseRaceRow(row));
    BookAnalysis reused;
    const std::size_t half = rows.size() / 2;
    analyseParsed(std::span(rows).subspan(half), std::span(parsed).subspan(half), reused);
    analyseParsed(rows, parsed, reused);
    require(sameAnalysis(analysis, reused), "analysing into used storage gives the same result");

    const std::optional<int> chosen = defaultPredictionRace(analysis);
    if (chosen) {
        require(*chosen >= 0 && *chosen < static_cast<int>(analysis.races.size()),
                "the default prediction race is a race");
        checkPredictions(analysis, *chosen);
    }
    for (std::size_t r = 0; r < analysis.races.size() && r < kPredictedRaces; ++r)
        checkPredictions(analysis, static_cast<int>(r));
    return 0;
}
