#pragma once

#include "activity/activity.h"
#include "activity/race_analysis.h"
#include "views/race_detail/race_detail_view.h"
#include "records/race_record.h"

#include <QString>
#include <QTimeZone>

#include <optional>

namespace torvanu {

// A record's data file, read and split: everything the window shows, or why nothing is.
struct RaceDetailData
{
    QString heading; // the race, its date and the activity taken from the file
    RaceDetailView view;
    Activity activity; // the one taken from the file, with its track and channels
};

struct RaceDetailLoad
{
    std::optional<RaceDetailData> data;
    QString error; // the message to show, naming the file; empty exactly when data is set
};

// A file of several activities gives the one the record is about: of the record's day, the
// nearest to its distance and time.
RaceDetailLoad loadRaceDetail(const RaceRecord& record,
                              const QTimeZone& zone = QTimeZone::systemTimeZone());

} // namespace torvanu
