// Pace plans from an arbitrary distance, time, split, strategy and percentage.
//
// Input: one byte choosing the split, the strategy and whether the runner gave a pace or a
// goal time, then the distance (km), the time (seconds per km or in all) and the percentage.
// Each number is a tag byte and then either the raw bits of a double (NaN, infinities and
// subnormals included) or a 32-bit whole number over a power of ten, so that plain figures
// such as 42.195 and 12600 come up as often as the odd ones. A first byte of 0xFF instead
// types a pace on the goal-time tab for a marathon.
//
// Checked: a refusal holds no rows; a plan ends on the finish at the distance, holds one half
// mark, and its places only ever lie further on; its passing times never fall, its segment
// times add up exactly to the finish, and the finish is the time asked, cut to whole seconds;
// every text is a clock the band can print. The typed marathon pace gives, as an even plan
// every kilometre, exactly the lap table's texts.

#include "calc/lap_table.h"
#include "calc/number_text.h"
#include "calc/pace_plan.h"
#include "calc/units.h"
#include "calc/validation.h"
#include "calc/clock_text.h"
#include "property.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

using namespace torvanu;
using fuzz::require;

namespace {

constexpr double kRoundingSlack = 1e-12;

class Bytes
{
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t next() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    double number()
    {
        const std::uint8_t tag = next();
        if (tag & 1) {
            std::uint64_t bits = 0;
            for (int i = 0; i < 8; ++i)
                bits = bits << 8 | next();
            double value = 0.0;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        std::uint32_t whole = 0;
        for (int i = 0; i < 4; ++i)
            whole = whole << 8 | next();
        double value = static_cast<std::int32_t>(whole);
        for (int i = 0; i < (tag >> 1) % 5; ++i)
            value /= 10.0;
        return value;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Whole seconds of h:mm:ss, or nothing for any other text.
std::optional<std::int64_t> clockSeconds(const std::u16string& text)
{
    const std::size_t second = text.rfind(u':');
    if (second == std::u16string::npos || second < 1)
        return std::nullopt;
    const std::size_t first = text.rfind(u':', second - 1);
    if (first == std::u16string::npos || first == 0 || text.size() - second != 3 ||
        second - first != 3)
        return std::nullopt;
    std::int64_t hours = 0;
    for (std::size_t i = 0; i < first; ++i) {
        if (!isDigit(text[i]) || i > 12)
            return std::nullopt;
        hours = hours * 10 + (text[i] - u'0');
    }
    for (const std::size_t i : {first + 1, first + 2, second + 1, second + 2}) {
        if (!isDigit(text[i]))
            return std::nullopt;
    }
    const int minutes = (text[first + 1] - u'0') * 10 + (text[first + 2] - u'0');
    const int seconds = (text[second + 1] - u'0') * 10 + (text[second + 2] - u'0');
    if (minutes > 59 || seconds > 59)
        return std::nullopt;
    return hours * 3600 + minutes * 60 + seconds;
}

// m:ss, minutes without a leading zero.
bool isPace(const std::u16string& text)
{
    const std::size_t colon = text.find(u':');
    if (colon == std::u16string::npos || colon == 0 || text.size() - colon != 3)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != colon && !isDigit(text[i]))
            return false;
    }
    return text[colon + 1] <= u'5';
}

// A marathon at a pace typed on the goal-time tab: an even plan every kilometre is the lap
// table, text for text, at every kilometre, the half and the finish.
void checkAgainstLapTable(Bytes& in)
{
    const std::uint8_t tag = in.next();
    double minutes = in.next();
    for (int i = 0; i < tag % 3; ++i)
        minutes /= 10.0;
    const int high = in.next();
    double seconds = high << 8 | in.next();
    for (int i = 0; i < tag / 3 % 4; ++i)
        seconds /= 10.0;
    const std::u16string distanceText = u"42.195";
    const std::u16string minutesText = numberText(minutes);
    const std::u16string secondsText = numberText(seconds);
    const std::u16string_view texts[] = {distanceText, minutesText, secondsText};
    if (!checkInputs(Mode::GoalTime, texts, kKmText).accepted())
        return;
    const CalcInputs inputs{distanceText, kKmText, {}, minutesText, secondsText};
    const std::optional<PlanRequest> request = planRequest(inputs, Mode::GoalTime);
    if (!request)
        return;
    const PacePlan plan = pacePlan(*request);
    if (plan.status != PlanStatus::Ok)
        return;
    const LapTable lap = fullMarathonMatrix(inputs, Mode::GoalTime);
    require(plan.rows.size() == kLapRows + 2, "a marathon plan has a row per km, half and finish");
    for (const PlanRow& row : plan.rows) {
        switch (row.mark) {
        case PlanMark::Split:
            require(row.passing == lap.splits[static_cast<std::size_t>(row.km) - 1],
                    "every km is passed when the lap table says");
            break;
        case PlanMark::Half:
            require(row.passing == lap.half, "the half is passed when the lap table says");
            break;
        case PlanMark::Finish:
            require(row.passing == lap.full, "the finish is reached when the lap table says");
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in(data, size);
    const std::uint8_t choice = in.next();
    if (choice == 0xFF) {
        checkAgainstLapTable(in);
        return 0;
    }
    PlanRequest request;
    request.every = static_cast<SplitEvery>(choice % 3);
    request.strategy = static_cast<Strategy>(choice / 3 % 3);
    const bool fromPace = choice & 0x10;
    request.distanceKm = in.number();
    const double time = in.number();
    if (fromPace)
        request.paceSecondsPerKm = time;
    else
        request.goalSeconds = time;
    request.percent = in.number();

    const PacePlan plan = pacePlan(request);
    if (plan.status != PlanStatus::Ok) {
        require(plan.rows.empty(), "a refusal holds no rows");
        return 0;
    }
    require(!plan.rows.empty() && plan.rows.size() <= static_cast<std::size_t>(kPlanMaxRows),
            "a plan has rows, and not too many");
    require(plan.rows.back().mark == PlanMark::Finish, "a plan ends on the finish");
    require(plan.rows.back().km == request.distanceKm, "the finish lies at the distance");

    const double total = request.paceSecondsPerKm ? *request.paceSecondsPerKm * request.distanceKm
                                                  : request.goalSeconds;

    // The half from the strategy's own definition, not from the plan's arithmetic: the second
    // half p % slower than the first, or a pace moving linearly by d % from start to finish.
    const double q = request.percent / 100.0;
    const double exactHalf = request.strategy == Strategy::Split   ? total / (2.0 + q)
                             : request.strategy == Strategy::Drift ? total * (0.5 - q / 8.0)
                                                                   : total / 2.0;
    int halves = 0;
    double lastKm = 0.0;
    std::int64_t lastPassing = 0;
    std::int64_t segments = 0;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const PlanRow& row = plan.rows[i];
        if (row.mark == PlanMark::Half) {
            ++halves;
            const std::optional<std::int64_t> half = clockSeconds(row.passing);
            require(half && std::fabs(static_cast<double>(*half) - exactHalf) <=
                                1.0 + exactHalf * kRoundingSlack,
                    "the half is passed when the strategy says");
        }
        require(row.mark != PlanMark::Finish || i + 1 == plan.rows.size(),
                "only the last mark is the finish");
        require(std::isfinite(row.km) && row.km >= lastKm && (i == 0 || row.km > lastKm),
                "every mark lies further on");
        const std::optional<std::int64_t> passing = clockSeconds(row.passing);
        const std::optional<std::int64_t> segment = clockSeconds(row.segment);
        require(passing && segment, "passing and segment times are clocks");
        require(*passing >= lastPassing, "passing times never fall");
        require(*passing - lastPassing == *segment, "a segment is the step between passings");
        require(isPace(row.pace), "a pace is m:ss");
        require(!row.place.empty() && !row.shortPlace.empty(), "every mark has a place");
        segments += *segment;
        lastKm = row.km;
        lastPassing = *passing;
    }
    require(halves == 1, "a plan has one half mark");
    require(segments == lastPassing, "the segments add up to the finish");

    require(cutSeconds(total) == lastPassing, "the finish is the time asked");
    return 0;
}
