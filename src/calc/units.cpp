#include "units.h"

namespace torvanu {

std::optional<Unit> unitFromText(std::u16string_view text)
{
    for (const UnitFacts& facts : kUnits) {
        if (facts.text == text)
            return facts.unit;
    }
    return std::nullopt;
}

Unit nextUnit(Unit unit)
{
    for (std::size_t i = 0; i < kUnits.size(); ++i) {
        if (kUnits[i].unit == unit)
            return kUnits[(i + 1) % kUnits.size()].unit;
    }
    return Unit::Km;
}

double kilometres(double distance, Unit unit)
{
    switch (unit) {
    case Unit::Km:
        break;
    case Unit::M:
        return distance / kMetresPerKm;
    case Unit::Mile:
        return distance * kKmPerMile;
    }
    return distance;
}

double metres(double distance, Unit unit)
{
    switch (unit) {
    case Unit::Km:
        return distance * kMetresPerKm;
    case Unit::M:
        break;
    case Unit::Mile:
        return distance * (kKmPerMile * kMetresPerKm);
    }
    return distance;
}

} // namespace torvanu
