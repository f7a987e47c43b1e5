#pragma once

#include "activity/race_analysis.h"
#include "views/race_detail/race_channels.h"
#include "views/charts/chart_data.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace torvanu {

// The pace an even race would have run, in seconds per km.
struct EvenPace
{
    double secondsPerKm = 0;
    // True when it comes from the record's own time and distance; false when a cell of the
    // record does not read and the track's time and distance stand in.
    bool fromRecord = false;
};

// The record's time over the record's distance: the official distance, not what the watch
// measured, since a plan is made for the official one.
EvenPace evenPace(const QString& timeCell, const QString& distanceCell,
                  const RaceAnalysis& analysis);

// What the window shows, as texts. Every time is rounded to a whole second once, at the
// passing of each km, and each lap is the difference of two shown passings, so that the laps
// shown add up to the finishing time shown.
struct RaceDetailView
{
    // The columns of the channels a file lacks are left out.
    QStringList headers;
    std::vector<QStringList> rows; // one per whole km, then the rest up to the finish
    QString summary;               // distance, time and pace, then what the channels say, in lines
    QString missingChannels;       // the one line naming the channels the file lacks; may be empty
    QString halfSplit;
    QString fastest; // empty without a whole km
    QString slowest;
    QString evenPace;
    ChartData chart; // a bar per whole km, the even pace as the reference line
    QStringList barTips;
};

RaceDetailView raceDetailView(const RaceAnalysis& analysis, const EvenPace& even,
                              const RaceChannels& channels = {});

} // namespace torvanu
