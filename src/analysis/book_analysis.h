#pragma once

#include "calc/cell_format.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvanu {

// The cells of one record as the book holds them; the row is its position in the list.
struct RaceRow
{
    std::u16string_view date;
    std::u16string_view name;
    std::u16string_view distance;
    std::u16string_view time;
};

struct Race
{
    int row = 0; // 0-based position in the list
    RaceDate date;
    int day = 0; // date.dayNumber()
    double metres = 0.0;
    double seconds = 0.0;
    int raceClass = 0; // index into BookAnalysis::classes
};

struct RaceClass
{
    std::u16string name; // the official name, or the first cell text of its distance
    double metres = 0.0; // the official distance, or the exact one
    bool official = false;
    int best = -1; // index into BookAnalysis::races
    int count = 0;
};

struct UnreadableRow
{
    int row = 0;
    RowProblem problem = RowProblem::DistanceUnreadable;
};

struct SeasonCell
{
    int best = -1; // index into BookAnalysis::races; -1: no race of the class that year
    int count = 0;
};

struct Season
{
    int year = 0;
    std::vector<SeasonCell> cells; // one per class
};

struct BookAnalysis
{
    std::vector<Race> races;               // in list order
    std::vector<RaceClass> classes;        // shortest first
    std::vector<UnreadableRow> unreadable; // in list order
    std::vector<Season> seasons;           // earliest first

    // The earlier race holds a shared best: by date, then by place in the list.
    bool runsBefore(int raceA, int raceB) const;
    bool isFaster(int raceA, int raceB) const;
};

// One row's cells read, or the first problem met reading them.
struct ParsedRow
{
    RaceDate date;
    int day = 0;
    double metres = 0.0;
    double seconds = 0.0;
    int official = -1; // index into kOfficialDistances, or -1 for a class of its own
    std::optional<RowProblem> problem;
};

ParsedRow parseRaceRow(const RaceRow& row);

BookAnalysis analyseBook(std::span<const RaceRow> rows);
// The same from rows read before: a window that follows edits reads again only the rows
// that changed. parsed[i] must be parseRaceRow(rows[i]).
// The result goes into analysis, whose storage is reused: a hundred thousand races fill
// megabytes, and fresh pages for them would cost more than the counting.
void analyseParsed(std::span<const RaceRow> rows, std::span<const ParsedRow> parsed,
                   BookAnalysis& analysis);

struct Trend
{
    std::vector<int> races;       // every race of the class, by date, then by place in the list
    std::vector<int> progression; // the races that set a new best, in the same order
};

Trend trendOf(const BookAnalysis& analysis, int raceClass);

} // namespace torvanu
