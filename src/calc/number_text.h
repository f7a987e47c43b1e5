#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvanu {

// The value of a number text, or nothing when the text is not a number.
// This one function decides for the validation and for the arithmetic alike, so both
// always accept exactly the same texts.
std::optional<double> readNumber(std::u16string_view text);

inline bool isNumeric(std::u16string_view text)
{
    return readNumber(text).has_value();
}

// Plain decimal text of a value: at most 15 significant digits, no exponent, no trailing
// zeros after the point, "." as the decimal point (300, 320.5, 0.341666666666667).
std::u16string numberText(double value);

} // namespace torvanu
