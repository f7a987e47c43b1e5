#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvanu {

// The value of a number text, or nothing when the text is not a number.
// This one function decides for the validation and for the arithmetic alike, so both
// always accept exactly the same texts. Blanks around the number (also the ideographic
// blank) are ignored, and the full-width digits, point and signs count as their ASCII
// forms. A value too small for a double reads as zero with its sign; one too large is not
// a number.
std::optional<double> readNumber(std::u16string_view text);

// The blanks a number text may carry around its number: the plain space and U+3000, which a
// Japanese input method types for the space bar.
inline bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\u3000';
}

// The value of an ASCII or full-width digit.
inline std::optional<int> digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'\uFF10' && c <= u'\uFF19')
        return c - u'\uFF10';
    return std::nullopt;
}

inline bool isNumeric(std::u16string_view text)
{
    return readNumber(text).has_value();
}

// Plain decimal text of a value: at most 15 significant digits, no exponent, no trailing
// zeros after the point, "." as the decimal point (300, 320.5, 0.341666666666667).
// An infinity or a NaN has no such text and gives an empty one.
std::u16string numberText(double value);

} // namespace torvanu
