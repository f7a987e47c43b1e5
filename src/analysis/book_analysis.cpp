#include "book_analysis.h"

#include "analysis/distance_classes.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace torvanu {

namespace {

struct ClassIndex
{
    std::array<int, kOfficialDistances.size()> official;
    std::map<double, int> own;

    ClassIndex() { official.fill(-1); }
};

int classOf(std::vector<RaceClass>& classes, ClassIndex& index, const ParsedRow& row,
            std::u16string_view cell)
{
    if (row.official >= 0) {
        const auto official = static_cast<std::size_t>(row.official);
        int& slot = index.official[official];
        if (slot < 0) {
            slot = static_cast<int>(classes.size());
            classes.push_back({std::u16string(kOfficialDistances[official].name),
                               kOfficialDistances[official].metres, true, -1, 0});
        }
        return slot;
    }
    const auto [where, added] = index.own.try_emplace(row.metres, static_cast<int>(classes.size()));
    if (added)
        classes.push_back({std::u16string(cell), row.metres, false, -1, 0});
    return where->second;
}

// Classes come in the order their first race is met; the tables want them shortest first.
void sortClasses(BookAnalysis& analysis)
{
    std::vector<int> order(analysis.classes.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return analysis.classes[a].metres < analysis.classes[b].metres;
    });
    std::vector<int> newIndex(order.size());
    std::vector<RaceClass> sorted;
    sorted.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newIndex[order[i]] = static_cast<int>(i);
        sorted.push_back(std::move(analysis.classes[order[i]]));
    }
    analysis.classes = std::move(sorted);
    for (Race& race : analysis.races)
        race.raceClass = newIndex[race.raceClass];
}

} // namespace

bool BookAnalysis::runsBefore(int raceA, int raceB) const
{
    const Race& a = races[raceA];
    const Race& b = races[raceB];
    return a.day != b.day ? a.day < b.day : a.row < b.row;
}

bool BookAnalysis::isFaster(int raceA, int raceB) const
{
    const double a = races[raceA].seconds;
    const double b = races[raceB].seconds;
    return a != b ? a < b : runsBefore(raceA, raceB);
}

ParsedRow parseRaceRow(const RaceRow& row)
{
    const CellReading<double> distance = readDistanceCell(row.distance);
    const CellReading<double> time = readTimeCell(row.time);
    const CellReading<RaceDate> date = readDateCell(row.date);
    ParsedRow parsed;
    parsed.problem = distance.problem ? distance.problem
                     : time.problem   ? time.problem
                                      : date.problem;
    if (parsed.problem)
        return parsed;
    parsed.date = date.value;
    parsed.day = date.value.dayNumber();
    parsed.metres = distance.value;
    parsed.seconds = time.value;
    if (const auto official = officialDistanceOf(distance.value))
        parsed.official = static_cast<int>(*official);
    return parsed;
}

BookAnalysis analyseBook(std::span<const RaceRow> rows)
{
    std::vector<ParsedRow> parsed;
    parsed.reserve(rows.size());
    for (const RaceRow& row : rows)
        parsed.push_back(parseRaceRow(row));
    BookAnalysis analysis;
    analyseParsed(rows, parsed, analysis);
    return analysis;
}

void analyseParsed(std::span<const RaceRow> rows, std::span<const ParsedRow> parsed,
                   BookAnalysis& analysis)
{
    analysis.races.clear();
    analysis.classes.clear();
    analysis.unreadable.clear();
    analysis.seasons.clear();
    analysis.races.reserve(parsed.size());
    ClassIndex index;
    for (std::size_t i = 0; i < parsed.size() && i < rows.size(); ++i) {
        const ParsedRow& row = parsed[i];
        const int rowNumber = static_cast<int>(i);
        if (row.problem) {
            analysis.unreadable.push_back({rowNumber, *row.problem});
            continue;
        }
        const int raceClass = classOf(analysis.classes, index, row, rows[i].distance);
        analysis.races.push_back(
            {rowNumber, row.date, row.day, row.metres, row.seconds, raceClass});
    }
    sortClasses(analysis);

    // Years are few and bounded: one slot each, found by its offset.
    constexpr int kYears = kLastRaceYear - kFirstRaceYear + 1;
    std::vector<std::vector<SeasonCell>> seasons(kYears);
    for (int r = 0; r < static_cast<int>(analysis.races.size()); ++r) {
        const Race& race = analysis.races[r];
        RaceClass& raceClass = analysis.classes[race.raceClass];
        ++raceClass.count;
        if (raceClass.best < 0 || analysis.isFaster(r, raceClass.best))
            raceClass.best = r;

        std::vector<SeasonCell>& season = seasons[race.date.year - kFirstRaceYear];
        if (season.empty())
            season.resize(analysis.classes.size());
        SeasonCell& cell = season[race.raceClass];
        ++cell.count;
        if (cell.best < 0 || analysis.isFaster(r, cell.best))
            cell.best = r;
    }
    for (int y = 0; y < kYears; ++y) {
        if (!seasons[y].empty())
            analysis.seasons.push_back({kFirstRaceYear + y, std::move(seasons[y])});
    }
}

Trend trendOf(const BookAnalysis& analysis, int raceClass)
{
    Trend trend;
    for (int r = 0; r < static_cast<int>(analysis.races.size()); ++r) {
        if (analysis.races[r].raceClass == raceClass)
            trend.races.push_back(r);
    }
    std::sort(trend.races.begin(), trend.races.end(),
              [&](int a, int b) { return analysis.runsBefore(a, b); });
    for (const int r : trend.races) {
        // Equal to the best so far is no new best: the earlier race keeps it.
        if (trend.progression.empty() ||
            analysis.races[r].seconds < analysis.races[trend.progression.back()].seconds)
            trend.progression.push_back(r);
    }
    return trend;
}

} // namespace torvanu
