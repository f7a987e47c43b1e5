#include "units.h"

namespace torvanu {

std::optional<Unit> unitFromText(std::u16string_view text)
{
    if (text == kKmText)
        return Unit::Km;
    if (text == kMetreText)
        return Unit::M;
    if (text == kMileText)
        return Unit::Mile;
    return std::nullopt;
}

std::u16string_view unitText(Unit unit)
{
    switch (unit) {
    case Unit::Km:
        return kKmText;
    case Unit::M:
        return kMetreText;
    case Unit::Mile:
        return kMileText;
    }
    return kKmText;
}

Unit nextUnit(Unit unit)
{
    switch (unit) {
    case Unit::Km:
        return Unit::M;
    case Unit::M:
        return Unit::Mile;
    case Unit::Mile:
        return Unit::Km;
    }
    return Unit::Km;
}

} // namespace torvanu
