#include "activity/track_math.h"

#include "calc/time_units.h"

#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace torvanu {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
constexpr long long daysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

constexpr bool isLeap(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr unsigned daysInMonth(long long year, unsigned month)
{
    constexpr unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

char16_t unitOf(QChar c)
{
    return c.unicode();
}

char16_t unitOf(char c)
{
    return static_cast<unsigned char>(c);
}

// Over UTF-16 text, or over the bytes of an XML file's text as they are: a time is ASCII.
template <class Text> class Cursor
{
public:
    explicit Cursor(Text text) : m_text(text) {}

    // Exactly count digits, or nothing.
    std::optional<int> digits(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_pos >= size() || !isDigit(at(m_pos)))
                return std::nullopt;
            value = value * 10 + (at(m_pos++) - u'0');
        }
        return value;
    }

    bool take(char16_t c)
    {
        if (m_pos < size() && at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    double fraction()
    {
        double value = 0;
        double scale = 0.1;
        while (m_pos < size() && isDigit(at(m_pos))) {
            value += scale * (at(m_pos++) - u'0');
            scale /= 10;
        }
        return value;
    }

    bool atEnd() const { return m_pos == size(); }

private:
    static bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
    std::size_t size() const { return static_cast<std::size_t>(m_text.size()); }
    char16_t at(std::size_t pos) const { return unitOf(m_text[static_cast<qsizetype>(pos)]); }

    Text m_text;
    std::size_t m_pos = 0;
};

template <class Text> std::optional<double> parseTime(Text text)
{
    Cursor<Text> at(text);
    const auto year = at.digits(4);
    if (!year || !at.take(u'-'))
        return std::nullopt;
    const auto month = at.digits(2);
    if (!month || *month < 1 || *month > 12 || !at.take(u'-'))
        return std::nullopt;
    const auto day = at.digits(2);
    if (!day || *day < 1 || static_cast<unsigned>(*day) > daysInMonth(*year, *month) ||
        !at.take(u'T'))
        return std::nullopt;
    const auto hour = at.digits(2);
    if (!hour || *hour > 24 || !at.take(u':'))
        return std::nullopt;
    const auto minute = at.digits(2);
    if (!minute || *minute > 59 || !at.take(u':'))
        return std::nullopt;
    const auto second = at.digits(2);
    if (!second || *second > 60)
        return std::nullopt;
    double seconds = *second;
    if (at.take(u'.'))
        seconds += at.fraction();
    int offset = 0;
    if (!at.take(u'Z')) {
        const bool minus = at.take(u'-');
        if (minus || at.take(u'+')) {
            const auto offsetHours = at.digits(2);
            if (!offsetHours || *offsetHours > 14 || !at.take(u':'))
                return std::nullopt;
            const auto offsetMinutes = at.digits(2);
            if (!offsetMinutes || *offsetMinutes > 59)
                return std::nullopt;
            offset = (*offsetHours * kMinutesPerHour + *offsetMinutes) * kSecondsPerMinute *
                     (minus ? -1 : 1);
        }
    }
    if (!at.atEnd())
        return std::nullopt;
    const long long days =
        daysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day));
    return static_cast<double>(days * kSecondsPerDay + *hour * kSecondsPerHour +
                               *minute * kSecondsPerMinute - offset) +
           seconds;
}

} // namespace

double greatCircleMetres(double lat1, double lon1, double lat2, double lon2)
{
    const double phi1 = lat1 * kRadiansPerDegree;
    const double phi2 = lat2 * kRadiansPerDegree;
    const double sinHalfPhi = std::sin((phi2 - phi1) / 2);
    const double sinHalfLambda = std::sin((lon2 - lon1) * kRadiansPerDegree / 2);
    const double h =
        sinHalfPhi * sinHalfPhi + std::cos(phi1) * std::cos(phi2) * sinHalfLambda * sinHalfLambda;
    // Rounding can carry h a hair past 1 for points on opposite sides of the globe.
    return 2 * kEarthRadiusMetres * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

std::optional<double> parseXmlTime(QStringView text)
{
    return parseTime(text.trimmed());
}

std::optional<double> parseXmlTime(std::string_view ascii)
{
    return parseTime(ascii);
}

QDateTime utcFromUnixSeconds(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000), QTimeZone::utc());
}

void appendTrackPoint(std::vector<TrackPoint>& track, double time, double distance)
{
    if (!track.empty()) {
        time = std::max(time, track.back().time);
        distance = std::max(distance, track.back().distance);
    }
    track.push_back({time, distance});
}

} // namespace torvanu
