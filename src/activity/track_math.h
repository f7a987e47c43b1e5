#pragma once

#include "activity/activity.h"

#include <QStringView>

#include <optional>
#include <string_view>
#include <vector>

namespace torvanu {

// The mean radius of the Earth, the sphere GPX distances are measured on.
constexpr double kEarthRadiusMetres = 6'371'008.8;

// Metres along the great circle between two points given in degrees.
double greatCircleMetres(double lat1, double lon1, double lat2, double lon2);

// Seconds since 1970-01-01T00:00:00Z for an XML Schema dateTime ("2012-12-26T21:29:53Z",
// with or without a fraction or an offset; no offset means UTC, as GPX and TCX say).
std::optional<double> parseXmlTime(QStringView text);
// The same over ASCII bytes, without blanks around.
std::optional<double> parseXmlTime(std::string_view ascii);

QDateTime utcFromUnixSeconds(double seconds);

// Appends a point, holding time and distance where a file steps back: a clock corrected
// in mid-run or a distance that shrinks must not make a split negative.
void appendTrackPoint(std::vector<TrackPoint>& track, double time, double distance);

} // namespace torvanu
